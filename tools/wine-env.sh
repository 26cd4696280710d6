# Sourced by the Wine scripts: quiet Wine, no Mono or Gecko installer dialogs, and no crash
# debugger, so that a crash ends the process at once.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

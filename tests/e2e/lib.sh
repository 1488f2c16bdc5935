# Helpers of the end-to-end scenarios (sourced by run.sh; the scenarios call them).
# A scenario runs in its own fresh Wine prefix, on its own Xvfb display, with
# dist/windows/ staged as C:\OrvelleEx\ and the helper e2e_ui.exe as
# C:\e2e\e2e_ui.exe. Everything it leaves (program log, screenshots, Wine
# output) is under $E2E_OUT (build/e2e/<scenario>/).
# The helpers live in lib/, a file per job, each opening with the list of its
# helpers:
#   prefix.sh       the scenario's prefix, the registry, its start and end
#   program.sh      the program's launches, exit codes and log
#   windows.sh      the program's windows as Windows and X see them
#   layout.sh       where controls are (the layout tool) and the language's texts
#   input.sh        clicks, keys, the wheel and the scroll thumb
#   texts.sh        the texts the screen must (not) show
#   screenshots.sh  screenshots, pixels and the focus indicator
#   msaa.sh         the window as a screen reader reads it
#   standins.sh     WMI and the .htm handler as the scenario sets them
# Every lib/*.sh is sourced, in name order.

source "$(dirname "${BASH_SOURCE[0]}")/lib/servicing.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib/cumulative.sh"

# A failing $(...) inside a helper ends the scenario too.
shopt -s inherit_errexit

for e2e_lib_file in "$(dirname "${BASH_SOURCE[0]}")/lib/"*.sh; do
    source "$e2e_lib_file"
done
unset e2e_lib_file

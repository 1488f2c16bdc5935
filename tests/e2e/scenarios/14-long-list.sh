# Sixty hotfixes at 100 %: every row reached by the wheel, by dragging the
# scroll thumb and by the keyboard; hover and clicks right after a scroll; the
# 60th row uninstalled by keys alone (tests/e2e/long-list.sh).
source "$ORVELLE_ROOT/tests/e2e/long-list.sh"

// Opening the About dialog from the title bar's about button.
#include <new>

#include "support/KtLogger.h"
#include "ui/SharedConstants.h"
#include "ui/about/AboutDialog.h"
#include "ui/main/MainWindow.h"

// UI thread; blocks in the dialog's modal loop, then deletes the dialog.
void MainWindow::ShowAboutForm() {
    AboutDialog* dialog = new (std::nothrow) AboutDialog();
    if (dialog == nullptr) {
        KT_LOG(LOG_ERROR, L"create about dialog fail!", "MainWindow::ShowAboutForm");
        return;
    }
    // Without a native window there is no modal loop that anything could end.
    if (dialog->Create(GetHWND(), ABOUT_WINDOW_TITLE, WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr) == nullptr) {
        KT_LOG(LOG_ERROR, L"create about dialog window fail!", "MainWindow::ShowAboutForm");
        delete dialog;
        return;
    }
    dialog->CenterToParentWindow();
    dialog->ShowModal();
    delete dialog;
}

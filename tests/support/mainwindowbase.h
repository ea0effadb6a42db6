#pragma once

// The main window over a retrieval base, loaded and shown, its area the session's: the set-up of
// the window tests that start their commands from the main window's menus and panel.

#include "gui/shell/mainwindow.h"
#include "support/cardwindowbase.h"
#include "support/retrievalbase.h"

namespace vlm::test {

struct MainWindowBase {
    std::unique_ptr<RetrievalBase> b;
    std::unique_ptr<MainWindow> main;

    Session& ctx() { return b->ctx; }
    void setUp() {
        b = std::make_unique<RetrievalBase>();
        ctx().openCard = cards::openCurrentCard;
        main = std::make_unique<MainWindow>(ctx());
        main->load();
        main->show();
        ctx().mdiArea = main->mdiArea();
    }
    void tearDown() {
        main.reset();
        b.reset();
    }
    template <typename T> QList<T*> windowsOf() { return windowsIn<T>(main->mdiArea()); }
};

} // namespace vlm::test

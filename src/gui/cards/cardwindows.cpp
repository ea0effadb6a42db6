#include "gui/cards/cardwindows.h"

#include "core/cards/cardstore.h"
#include "core/cards/richtext.h"
#include "core/cards/rtf.h"
#include "core/common/twips.h"
#include "core/session/session.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"
#include "gui/cards/richedit.h"
#include "gui/common/accessiblenames.h"
#include "gui/common/childwindows.h"
#include "gui/common/guarded.h"
#include "gui/common/mainwindowhost.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>

#include <algorithm>
#include <new>

namespace vlm::cards {

CardWindowBase::CardWindowBase(Session& ctx, CardKind kind, const QString& tag, QWidget* parent)
    : QWidget(parent), ctx_(ctx), kind_(kind), tag_(tag) {
    if (ctx_.mdiArea) {
        connect(ctx_.mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
            if (sub && sub->widget() == this) activate();
        });
    }
}

int CardWindowBase::windowNumber() const {
    return FenNum->text().toInt();
}

Prompter& CardWindowBase::closePrompter() {
    return ctx_.prompter;
}

bool CardWindowBase::event(QEvent* event) {
    // Coming back to the program (from the selection dialog, for one) activates the window
    // again, if it is the active one in its area.
    if (event->type() == QEvent::WindowActivate) {
        if (isActiveCardWindow(ctx_, this)) activate();
    }
    return QWidget::event(event);
}

void CardWindowBase::guarded(const std::function<void()>& command) {
    runGuarded(ctx_, command);
}

void CardWindowBase::seekOwnCard() {
    seekCardQuietly(ctx_, kind_, tag_);
}

QToolBar* CardWindowBase::makeTextToolBar(QTextEdit* const* text, std::function<void()> print) {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const QString& key : {QStringLiteral("Open"), QStringLiteral("Save"),
                               QStringLiteral("Print"), QStringLiteral("Font")}) {
        QAction* a = bar->addAction(key);
        a->setObjectName(key);
        a->setData(key);
        a->setToolTip(key);
    }
    reachByTab(bar);
    connect(bar, &QToolBar::actionTriggered, this, [this, text, print](QAction* a) {
        const QString key = a->data().toString();
        guarded([&] {
            if (key == QLatin1String("Open"))
                openTextFile(ctx_, *text);
            else if (key == QLatin1String("Save"))
                saveTextFile(ctx_, *text);
            else if (key == QLatin1String("Print"))
                print();
            else if (key == QLatin1String("Font"))
                chooseFont(ctx_, *text);
        });
    });
    return bar;
}

void CardWindowBase::closeDeleted() {
    deleted_ = true;
    const int n = windowNumber();
    cardFrame(this)->close();
    releaseWindowNumber(ctx_, kind_, n);
    closeCardLists(ctx_);
}

namespace {
constexpr int kTwipsPerPixel = 1440 / 96;
}

QWidget* runOpener(Session& ctx, const std::function<QWidget*()>& open) {
    return runGuarded(ctx, open).value_or(nullptr);
}

QWidget* showCardWindow(Session& ctx, QWidget* content, int widthTwips, int heightTwips) {
    ChildPlacement placement;
    placement.size = QSize(twipsToPixels(widthTwips), twipsToPixels(heightTwips));
    placement.position = [&ctx, widthTwips, heightTwips](const QSize&, const QSize&) {
        // Centred across the main window, less half the side bar, an eighth of the way down;
        // whole twips, each division truncated.
        const QWidget* main = ctx.mdiArea->window();
        const MainWindowHost* host = mainWindowHost(ctx);
        const int sideTwips = host ? host->sideBarWidth() * kTwipsPerPixel : 0;
        const int leftTwips = (main->width() * kTwipsPerPixel - widthTwips) / 2 - sideTwips / 2;
        const int topTwips = (main->height() * kTwipsPerPixel - heightTwips) / 8;
        // A main window narrower than the card window still shows the card window's title bar.
        return QPoint(std::max(0, twipsToPixels(leftTwips)), std::max(0, twipsToPixels(topTwips)));
    };
    return showChildWindow(ctx, content, placement);
}

QWidget* cardFrame(QWidget* content) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(content->parentWidget())) return sub;
    return content;
}

QString cardCaption(const QString& first, const QString& findWord, int windowNumber) {
    return first + QStringLiteral(" : ") + QLatin1Char('\'') + findWord + QLatin1Char('\'') +
           QStringLiteral(" (") + QString::number(windowNumber) + QLatin1Char(')');
}

void setCardText(QTextEdit* box, const QString& text, bool rich) {
    if (rich && fromRtf(text, *box->document())) return;
    // A line end of another system is one paragraph break, as the search counts it.
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box->setPlainText(plain);
}

QString cardPlainText(const QTextEdit* box) {
    return plainText(*box->document());
}

QString cardRichText(const QTextEdit* box) {
    return toRtf(*box->document());
}

void highlightFoundWord(QTextEdit* box, int findPos, const QString& word) {
    if (findPos < 1) return;
    const QString plain = box->document()->toPlainText();
    qsizetype start = findPos - 1;
    if (QStringView(plain).mid(start, word.size()) != word && !word.isEmpty()) {
        const qsizetype at = plain.indexOf(word);
        if (at >= 0) start = at;
    }
    const qsizetype end = plain.size();
    start = std::min(start, end);
    QTextCursor c(box->document());
    c.setPosition(int(start));
    c.setPosition(int(std::min(start + word.size(), end)), QTextCursor::KeepAnchor);
    box->setTextCursor(c);
    box->ensureCursorVisible();
}

void setUpKeywordGrid(QTableWidget* grid, int columnTwips) {
    grid->setColumnCount(1);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setColumnWidth(0, twipsToPixels(columnTwips));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setTabKeyNavigation(false);
}

void fillKeywordGrid(QTableWidget* grid, const QStringList& keywords) {
    grid->clearContents();
    grid->setRowCount(std::max<int>(int(keywords.size()), 1));
    for (int r = 0; r < grid->rowCount(); ++r)
        grid->setItem(r, 0, new QTableWidgetItem(r < keywords.size() ? keywords.at(r) : QString()));
    grid->setCurrentCell(0, 0);
}

QString currentKeyword(const QTableWidget* grid) {
    const QTableWidgetItem* item = grid->item(grid->currentRow() < 0 ? 0 : grid->currentRow(), 0);
    return item ? item->text() : QString();
}

bool CardWindow::askToClose() {
    if (unsavedChanges()) {
        switch (closePrompter().message(closeQuestion(), Buttons::YesNoCancel, Icon::None)) {
        case Answer::Yes:
            if (!storeCard()) return false;
            break;
        case Answer::No:
            break;
        default:
            return false;
        }
    }
    closeAnswered_ = true;
    return true;
}

bool CardWindow::mayClose() {
    if (closeAnswered_ || !unsavedChanges()) return true;
    return closePrompter().message(closeQuestion(), Buttons::OkCancel, Icon::None) != Answer::Ok ||
           storeCard();
}

bool isActiveCardWindow(const Session& ctx, const QWidget* window) {
    const auto* sub = qobject_cast<const QMdiSubWindow*>(window->parentWidget());
    return sub ? (ctx.mdiArea && ctx.mdiArea->activeSubWindow() == sub) : window->isWindow();
}

void seekCardQuietly(Session& ctx, CardKind kind, const QString& number) {
    try {
        store::Recordset& cards = cardTable(ctx, kind);
        cards.setIndex(sourcesOf(kind).numberIndex);
        cards.seek(QStringLiteral("="), number);
    } catch (const store::StoreError&) {
    }
}

QList<CardWindow*> openCardWindows(Session& ctx) {
    QList<CardWindow*> out;
    auto take = [&out](QWidget* w) {
        if (auto* card = dynamic_cast<CardWindow*>(w); card && !out.contains(card)) out << card;
    };
    if (ctx.mdiArea) {
        for (QMdiSubWindow* sub : ctx.mdiArea->subWindowList(QMdiArea::CreationOrder))
            if (sub->isVisible() || sub->isMinimized()) take(sub->widget());
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) take(w);
    return out;
}

bool closeCardWindows(Session& ctx) {
    const QList<CardWindow*> windows = openCardWindows(ctx);
    for (qsizetype i = 0; i < windows.size(); ++i) {
        if (windows[i]->askToClose()) continue;
        for (qsizetype j = 0; j < i; ++j)
            windows[j]->keepOpen();
        return false;
    }
    // Closing may delete a window: each is held by a guard until its turn.
    QList<QPointer<QWidget>> frames;
    for (CardWindow* w : windows)
        if (auto* widget = dynamic_cast<QWidget*>(w)) frames << cardFrame(widget);
    bool closed = true;
    for (const QPointer<QWidget>& f : frames)
        if (f && !f->close()) closed = false;
    return closed;
}

QPushButton* cardButton(QWidget* parent, const char* name, const char* caption, const char* tip) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setToolTip(QString::fromUtf8(tip));
    return b;
}

QLineEdit* cardLineBox(QWidget* parent, const char* name) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(QString::fromUtf8(name));
    return t;
}

void placeTwips(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twipsToPixels(left), twipsToPixels(top), std::max(0, twipsToPixels(width)),
                   std::max(0, twipsToPixels(height)));
}

void runGuarded(Session& ctx, const std::function<void()>& command) {
    try {
        command();
    } catch (const std::bad_alloc&) {
        ctx.prompter.message(notEnoughMemoryMessage(), Buttons::Ok, Icon::Exclamation);
    }
}

void fillAuthorGrid(QTableWidget* grid, const QStringList& authors) {
    grid->clearContents();
    grid->setRowCount(int(authors.size()));
    for (int r = 0; r < grid->rowCount(); ++r)
        grid->setItem(r, 0, new QTableWidgetItem(authors.at(r)));
    if (!authors.isEmpty()) grid->setCurrentCell(0, 0);
}

void closeCardLists(Session& ctx) {
    const QStringList names{QStringLiteral("fGrid"), QStringLiteral("FListSel")};
    if (ctx.mdiArea) {
        for (QMdiSubWindow* sub : ctx.mdiArea->subWindowList())
            if (sub->widget() && names.contains(sub->widget()->objectName())) sub->close();
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && names.contains(w->objectName())) w->close();
}

} // namespace vlm::cards

#include "gui/keywords/keywordpanels.h"

#include "core/keywords/linkcolumns.h"
#include "core/session/session.h"
#include "gui/common/accessiblenames.h"
#include "gui/keywords/keywordgrid.h"
#include "gui/keywords/keywordlistpanel.h"
#include "gui/keywords/levelbrowser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDrag>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QToolButton>

namespace vlm::keywords {

KeywordPanels::KeywordPanels(Session& ctx, KeywordHost host, SideControls controls, QObject* parent)
    : QObject(parent), ctx_(ctx), host_(std::move(host)), controls_(std::move(controls)),
      keywordsChanged_(this, [this] { followKeywords(); }),
      linksChanged_(this, [this] { followLinks(); }) {
    list_ = new KeywordListPanel(ctx_);
    central_ = new CentralSetBrowser(ctx_);
    down_ = new LevelBrowser(ctx_, LevelBrowser::Direction::Down);
    up_ = new LevelBrowser(ctx_, LevelBrowser::Direction::Up);

    central_->bindButtons(controls_.links);
    central_->setListName([this] { return list_->currentName(); });

    // The keyword list.
    connect(list_, &KeywordListPanel::keywordClicked, this, [this](const QString& name) {
        setKWSel(name);
        listCards(name);
    });
    connect(list_, &KeywordListPanel::keywordDoubleClicked, this, [this](const QString& name) {
        if (keywordMode())
            central_->makeCentral(name);
        else if (host_.searchMode && host_.searchMode() && host_.openCards)
            host_.openCards(name);
    });

    // The level browsers.
    for (LevelBrowser* b : {down_, up_}) {
        connect(b, &LevelBrowser::keywordSelected, this,
                [this](const QString& name) { setKWSel(name, true); });
        connect(b, &LevelBrowser::keywordClicked, this, &KeywordPanels::listCards);
        connect(b, &LevelBrowser::keywordDoubleClicked, this, [this](const QString& name) {
            if (!keywordMode() && host_.openCards) host_.openCards(name);
        });
        connect(b, &LevelBrowser::rightPressed, this, [this](const QString& last) {
            if (host_.closeCardList) host_.closeCardList();
            setKWSel(last);
        });
    }
    if (controls_.cmdSearchUp) {
        controls_.cmdSearchUp->setEnabled(true);
        nameControls({{controls_.cmdSearchUp, "Supersets of the level clicked last"}});
        connect(controls_.cmdSearchUp, &QAbstractButton::clicked, this, &KeywordPanels::buildUp);
    }

    connect(&ctx_.events, &SessionEvents::keywordsChanged, this,
            [this] { keywordsChanged_.request(); });
    connect(&ctx_.events, &SessionEvents::linksChanged, this, [this] { linksChanged_.request(); });

    // KWSel is the handle that drags its keyword onto the central-Set browser.
    if (controls_.KWSel) {
        controls_.KWSel->installEventFilter(this);
        controls_.KWSel->setCursor(Qt::OpenHandCursor);
    }
}

KeywordPanels::~KeywordPanels() {
    // Panels never put into a container are still ours.
    for (QWidget* w : std::initializer_list<QWidget*>{list_, central_, down_, up_})
        if (w && !w->parent()) delete w;
}

bool KeywordPanels::keywordMode() const {
    return host_.keywordMode && host_.keywordMode();
}

void KeywordPanels::listCards(const QString& name) {
    if (!keywordMode() && host_.listCards && !name.isEmpty()) host_.listCards(name);
}

void KeywordPanels::followKeywords() {
    if (list_) list_->reload();
}

void KeywordPanels::followLinks() {
    if (down_) down_->refreshRoots();
    if (central_) central_->followLinks();
}

void KeywordPanels::load() {
    list_->fill();
    down_->showRoots();
    up_->showRoots();
    central_->clear();
    setKWSel({}, true);
}

void KeywordPanels::buildUp() {
    up_->buildFrom(*down_);
}

void KeywordPanels::setKWSel(const QString& name, bool alsoKWSel2) {
    if (controls_.KWSel) {
        controls_.KWSel->setText(name);
        // Where KWSel is not on screen (the tab strip), KWSel2 shows the keyword instead.
        if (controls_.KWSel->isHidden()) alsoKWSel2 = true;
    }
    if (alsoKWSel2 && controls_.KWSel2) controls_.KWSel2->setText(name);
    central_->keywordSelected(name);
}

void KeywordPanels::startKWSelDrag() {
    if (!controls_.KWSel) return;
    const QString name = controls_.KWSel->text();
    if (name.isEmpty()) return;
    auto* drag = new QDrag(controls_.KWSel);
    drag->setMimeData(keywordDragData(name));
    drag->setPixmap(controls_.KWSel->grab());
    drag->setHotSpot(pressAt_);
    emit dragStarted(name);
    drag->exec(Qt::LinkAction | Qt::CopyAction, Qt::LinkAction);
}

bool KeywordPanels::eventFilter(QObject* watched, QEvent* event) {
    if (watched != controls_.KWSel) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) {
            pressed_ = true;
            pressAt_ = e->position().toPoint();
        }
        break;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (pressed_ && (e->buttons() & Qt::LeftButton) &&
            (e->position().toPoint() - pressAt_).manhattanLength() >=
                QApplication::startDragDistance()) {
            pressed_ = false;
            startKWSelDrag();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        pressed_ = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vlm::keywords

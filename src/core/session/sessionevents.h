#pragma once

// What changed in the open base, told to the views that show it. The functions that write
// keywords, links and cards send these; every open view that shows them follows at once.

#include "core/session/cardkind.h"

#include <QObject>
#include <QString>

namespace vlm {

class SessionEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // A keyword was added to the keyword table or discarded from it.
    void keywordsChanged();
    // A link between two keywords was stored or discarded.
    void linksChanged();
    // A card was stored or deleted, or its keywords changed.
    void cardChanged(vlm::CardKind kind, const QString& number);
};

} // namespace vlm

#pragma once

// Module LIST: the cards of one kind in date order, newest first, for the window DateListWindow.
// listByDate throws StoreError when the store fails; windows run it through runGuarded.

#include "core/common/progress.h"
#include "core/retrieval/grids.h"

#include <QString>
#include <QVariant>
#include <vector>

namespace vlm::retrieval {

struct DateLine {
    QString date;   // empty when the card has no date
    QString number; // the card number
};

// Every card of `kind`, read backwards along the card table's index Jour (so cards of equal
// dates come in the reverse of that index's order), then the number index selected again.
// `progress`, when given, hears how many cards have been read.
std::vector<DateLine> listByDate(Session& ctx, CardKind kind, Progress* progress = nullptr);

// How a card date is written in the lists: "yyyy-MM-dd hh:mm:ss"; empty for no date.
QString dateText(const QVariant& value);

} // namespace vlm::retrieval

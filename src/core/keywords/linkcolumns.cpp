#include "core/keywords/linkcolumns.h"

#include "core/common/twips.h"

#include <algorithm>

namespace vlm::keywords {

LinkColumns::LinkColumns(Walk next) : next_(std::move(next)) {
    reset({});
}

void LinkColumns::reset(NameList column0) {
    columns_.clear();
    columns_.push_back(Column{std::move(column0), {}, -1});
    current_ = 0;
    first_ = 0;
    scrollMax_ = 0;
}

void LinkColumns::resetOn(const QString& keyword) {
    reset(NameList{keyword});
    columns_[0].selected = keyword;
    columns_[0].row = 0;
    openAfter(0);
}

bool LinkColumns::click(int column, int row) {
    if (column < 0 || column >= count()) return false;
    Column& c = columns_[size_t(column)];
    if (row < 0 || row >= c.names.size() || c.names[row].isEmpty()) return false;
    c.selected = c.names[row];
    c.row = row;
    openAfter(column);
    return true;
}

bool LinkColumns::reopenAfter(int column) {
    if (column < 0 || column >= count() || selected(column).isEmpty()) return false;
    openAfter(column);
    return true;
}

void LinkColumns::openAfter(int column) {
    current_ = column;
    columns_.resize(size_t(column) + 1);
    columns_.push_back(Column{next_(columns_[size_t(column)].selected), {}, -1});
    // The new column comes into view in the last slot when it lay beyond it; otherwise the
    // view stays where it is. The scroll range reaches the last column and the view shown.
    first_ = std::max(first_, deepest() - (kSlots - 1));
    scrollMax_ = std::max(count() - kSlots, first_);
}

QStringList LinkColumns::path() const {
    QStringList out{QStringLiteral("Root")};
    for (int k = 0; k <= current_ && k < count(); ++k)
        if (!selected(k).isEmpty()) out << selected(k);
    return out;
}

void LinkColumns::scrollTo(int value) {
    first_ = std::clamp(value, 0, scrollMax());
}

int LinkColumns::panelSlots() const {
    return std::min(count(), kSlots);
}

QMimeData* keywordDragData(const QString& name) {
    auto* data = new QMimeData;
    data->setData(keywordDragFormat(), name.toUtf8());
    data->setText(name);
    return data;
}

std::optional<QString> keywordFromDrop(const QMimeData* data) {
    if (!data) return std::nullopt;
    QString text;
    if (data->hasFormat(keywordDragFormat()))
        text = QString::fromUtf8(data->data(keywordDragFormat()));
    else if (data->hasText())
        text = data->text();
    if (text.isEmpty() || text.size() > 2 * kMaxNameLength) return std::nullopt;
    int length = 0;
    for (QChar c : text) {
        if (c == u'\n' || c == u'\r' || c == u'\0') return std::nullopt;
        if (!c.isLowSurrogate()) ++length;
    }
    if (length > kMaxNameLength) return std::nullopt;
    return text;
}

QPoint linkEditorPlace(const QSize& area, const QSize& window) {
    const int left = std::max(0, (area.width() - window.width()) / 2);
    int top = area.height() - twipsToPixels(700);
    top = std::min(top, area.height() - window.height());
    return {left, std::max(0, top)};
}

} // namespace vlm::keywords

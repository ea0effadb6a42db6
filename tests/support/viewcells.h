#pragma once

// The cells of a list as the user sees them, read and clicked through the view's model, so that
// the same helpers serve a list over a model and an item grid alike.

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QStringList>
#include <QTest>

namespace vlm::test {

inline QString cellText(const QAbstractItemView* v, int row, int col = 0) {
    return v->model()->index(row, col).data().toString();
}

// The texts of one column, row 0 first.
inline QStringList rowsOf(const QAbstractItemView* v, int col = 0) {
    QStringList out;
    for (int r = 0; r < v->model()->rowCount(); ++r)
        out << cellText(v, r, col);
    return out;
}

inline QString headerText(const QAbstractItemView* v, int col) {
    return v->model()->headerData(col, Qt::Horizontal).toString();
}

inline bool cellSelected(const QAbstractItemView* v, int row, int col = 0) {
    return v->selectionModel()->isSelected(v->model()->index(row, col));
}

// The centre of a cell, scrolled into sight first.
inline QPoint cellCentre(QAbstractItemView* v, int row, int col = 0) {
    const QModelIndex i = v->model()->index(row, col);
    v->scrollTo(i);
    return v->visualRect(i).center();
}

inline void clickCell(QAbstractItemView* v, int row, int col = 0) {
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, cellCentre(v, row, col));
}

// A double click as a user makes it: the first click, then the second one.
inline void doubleClickCell(QAbstractItemView* v, int row, int col = 0) {
    const QPoint p = cellCentre(v, row, col);
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, p);
}

} // namespace vlm::test

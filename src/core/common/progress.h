#pragma once

// How long work run on the interface thread (an import, an export, a word analysis, the word
// index) tells the user how far it has gone and hears that it should stop. The progress window
// implements it; work given none runs the same.

#include <QString>

namespace vlm {

class Progress {
public:
    virtual ~Progress() = default;
    // A new phase: its label and, when not empty, what the number shown next means.
    virtual void phase(const QString& label, const QString& numberMeaning = {}) {
        Q_UNUSED(label);
        Q_UNUSED(numberMeaning);
    }
    // How far the phase has gone: its number (words found, cards done...; -1 for none), of
    // `total` when known, and the share done, 0 to 100. False once the user has cancelled.
    virtual bool step(qint64 number, int percent, qint64 total = -1) = 0;
};

// The share `part` is of `whole`, 0 to 100; all of it when there is nothing to do.
inline int percentOf(qint64 part, qint64 whole) {
    return whole > 0 ? int(part * 100 / whole) : 100;
}

} // namespace vlm

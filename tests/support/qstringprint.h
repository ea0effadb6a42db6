#pragma once

// Lets test failures show texts as texts. Every test file of an executable must include
// this before gtest, or the printers of the files would differ.

#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

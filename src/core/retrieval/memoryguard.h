#pragma once

// The memory guard: before every card of a keyword is opened at once, and before a text
// search, the program looks at the memory the system has left.

#include <QStringList>

namespace vlm::retrieval {

// The system's memory figures, in KB.
struct MemoryStatus {
    qint64 totalPhysicalKB = 0;
    qint64 availPhysicalKB = 0;
    qint64 totalVirtualKB = 0; // physical memory and swap together
    qint64 availVirtualKB = 0;
};

// Reads the figures from the system (sysinfo).
MemoryStatus readMemoryStatus();

// True when less than 50 KB of physical memory and less than 2000 KB of virtual memory are
// free: then no card is opened.
bool memoryTooLow(const MemoryStatus& status);

// The free part of physical and virtual memory together, 0 to 1 (the text search warns
// below 0.1).
double freeMemoryShare(const MemoryStatus& status);

// The lines the window Alert shows: each figure as a percentage followed by " %".
QStringList alertLines(const MemoryStatus& status);

} // namespace vlm::retrieval

#pragma once

// The window Alert (MemoryAlert): memory is too low to open the cards asked for.

#include "core/retrieval/memoryguard.h"

#include <QWidget>

namespace vlm::retrieval {

class MemoryAlert : public QWidget {
    Q_OBJECT
public:
    explicit MemoryAlert(const MemoryStatus& status, QWidget* parent = nullptr);
};

// Shows the window Alert with the figures of `status` (a window of its own, modeless).
MemoryAlert* showMemoryAlert(const MemoryStatus& status);

} // namespace vlm::retrieval

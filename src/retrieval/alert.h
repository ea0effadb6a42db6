#pragma once

// The window Alert: memory is too low to open the cards asked for.

#include "retrieval/memoryguard.h"

#include <QWidget>

namespace vlm::retrieval {

class Alert : public QWidget {
    Q_OBJECT
public:
    explicit Alert(const MemoryStatus& status, QWidget* parent = nullptr);
};

// Shows the window Alert with the figures of `status` (a window of its own, modeless).
Alert* ShowAlert(const MemoryStatus& status);

} // namespace vlm::retrieval

#pragma once

// A view told of many changes while work is under way refreshes once, when the work is over:
// and never in the middle of a write that still uses the shared recordsets.

#include <QMetaObject>
#include <QObject>
#include <functional>

namespace vlm {

class RefreshLater {
public:
    // `owner` holds this object: the refresh goes with it.
    RefreshLater(QObject* owner, std::function<void()> refresh)
        : owner_(owner), refresh_(std::move(refresh)) {}

    void request() {
        if (pending_) return;
        pending_ = true;
        QMetaObject::invokeMethod(
            owner_,
            [this] {
                pending_ = false;
                refresh_();
            },
            Qt::QueuedConnection);
    }

private:
    QObject* owner_;
    std::function<void()> refresh_;
    bool pending_ = false;
};

} // namespace vlm

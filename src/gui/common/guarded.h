#pragma once

// How windows run store work: one guarded call that shows every failure to the user through
// the prompter and tells the caller the work did not complete. A window never turns a failure
// into an empty list or drops it silently.

#include "core/common/status.h"
#include "core/store/storeerror.h"

#include <QString>
#include <optional>
#include <type_traits>
#include <utility>

namespace vlm {

struct Session;

// Shown when the system runs out of memory (exclamation icon).
inline QString notEnoughMemoryMessage() {
    return QStringLiteral("Not enough memory ! Please close some windows !");
}

// Shows a failure: out of memory as notEnoughMemoryMessage() with the exclamation icon, any
// other error as the store's description with the critical icon. Nothing when `status` is ok.
void showFailure(Session& ctx, const Status& status);

// Runs `work`; a StoreError it throws, or an allocation that fails, is shown (showFailure).
// Work that returns nothing gives true when it completed, false when it failed; work that
// returns a value gives it, or nothing when it failed. A Status or Result that `work` returns
// is shown too when it is a failure.
template <class F> auto runGuarded(Session& ctx, F&& work) {
    using R = std::invoke_result_t<F>;
    auto result = store::guard(std::forward<F>(work));
    if constexpr (std::is_void_v<R> || std::is_same_v<R, Status>) {
        const Status& s = [&]() -> const Status& {
            if constexpr (std::is_same_v<R, Status>)
                return result;
            else
                return result.status();
        }();
        showFailure(ctx, s);
        return s.ok();
    } else {
        using V = std::remove_cvref_t<decltype(*result)>;
        if (!result.ok()) {
            showFailure(ctx, result.status());
            return std::optional<V>();
        }
        return std::optional<V>(std::move(*result));
    }
}

} // namespace vlm

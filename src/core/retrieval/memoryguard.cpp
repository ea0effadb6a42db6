#include "core/retrieval/memoryguard.h"

#include <sys/sysinfo.h>

namespace vlm::retrieval {

MemoryStatus readMemoryStatus() {
    MemoryStatus m;
    struct sysinfo info {};
    if (sysinfo(&info) != 0) return m;
    const auto kb = [&](unsigned long units) {
        return qint64(units) * qint64(info.mem_unit) / 1024;
    };
    m.totalPhysicalKB = kb(info.totalram);
    m.availPhysicalKB = kb(info.freeram) + kb(info.bufferram);
    m.totalVirtualKB = m.totalPhysicalKB + kb(info.totalswap);
    m.availVirtualKB = m.availPhysicalKB + kb(info.freeswap);
    return m;
}

bool memoryTooLow(const MemoryStatus& s) {
    return s.availPhysicalKB < 50 && s.availVirtualKB < 2000;
}

double freeMemoryShare(const MemoryStatus& s) {
    const qint64 total = s.totalPhysicalKB + s.totalVirtualKB;
    if (total <= 0) return 1.0;
    return double(s.availPhysicalKB + s.availVirtualKB) / double(total);
}

namespace {
QString percent(qint64 part, qint64 whole) {
    const qint64 p = whole > 0 ? (part * 100 + whole / 2) / whole : 0;
    return QString::number(p) + QStringLiteral(" %");
}
} // namespace

QStringList alertLines(const MemoryStatus& s) {
    return {QStringLiteral("Physical memory free : ") +
                percent(s.availPhysicalKB, s.totalPhysicalKB),
            QStringLiteral("Virtual memory free : ") + percent(s.availVirtualKB, s.totalVirtualKB)};
}

} // namespace vlm::retrieval

#include "core/words/wordexport.h"

#include <QDir>
#include <QSaveFile>

namespace vlm::words {

QString wordListFileText(const QString& cardNumber, const WordList& list) {
    const QString crlf = QStringLiteral("\r\n");
    QString out = cardNumber + crlf + QLatin1Char(' ') + crlf;
    for (const WordCount& e : list) {
        out += e.word.rightJustified(20, QLatin1Char(' ')) + QStringLiteral("  ");
        if (e.count != 0) out += QString::number(e.count);
        out += crlf;
    }
    return out;
}

Status writeWordListFile(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        const QByteArray bytes = text.toUtf8();
        if (file.write(bytes) == bytes.size() && file.commit()) return Status::success();
    }
    return Status::error(ErrorCode::CannotOpen,
                         QStringLiteral("The word list could not be written to ") +
                             QDir::toNativeSeparators(path) + QStringLiteral(" : ") +
                             file.errorString());
}

} // namespace vlm::words

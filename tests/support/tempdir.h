#pragma once

#include <QString>
#include <QTemporaryDir>

namespace vlm::test {

// A fresh folder for one test, removed afterwards.
class TempDir {
public:
    TempDir() : dir_(QDir::tempPath() + QStringLiteral("/velmora-test-XXXXXX")) {}
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);

} // namespace vlm::test

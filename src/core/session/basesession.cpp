#include "core/session/basesession.h"

#include "core/common/prompter.h"
#include "core/store/storeerror.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

namespace vlm::store {

BaseSession::BaseSession(Prompter& prompter) : prompter_(prompter) {}

BaseSession::~BaseSession() {
    closeBase();
}

QString BaseSession::fileName() const {
    const QString p = BaseDb ? BaseDb->path() : BasePath;
    return QFileInfo(p).fileName();
}

void BaseSession::closeBase() {
    shared.reset();
    if (BaseDb) BaseDb->close();
    BaseDb.reset();
    openPath_.clear();
}

QString BaseSession::askPassword(const QString& prompt) {
    return prompter_.input(prompt, QStringLiteral("Password"), QString()).value_or(QString());
}

std::unique_ptr<Database> BaseSession::openWith(const QString& path, const QString& connect,
                                                Database::Check check) {
    const std::unique_ptr<Progress> progress =
        check == Database::Check::Full && openProgress ? openProgress() : nullptr;
    return Database::open(path, false, false, connect, velmoraSchema(), check, progress.get());
}

void BaseSession::adopt(std::unique_ptr<Database> db, const QString& path, const QString& connect) {
    auto recordsets = openSharedRecordsets(*db);
    closeBase();
    BaseDb = std::move(db);
    shared = std::move(recordsets);
    BasePath = path;
    BaseConnect = connect;
    openPath_ = path;
}

Next BaseSession::afterFailure(const QString& description) {
    prompter_.message(description, Buttons::Ok, Icon::Exclamation);
    if (isOpen()) {
        BasePath = openPath_;
        return Next::ShowMainWindow;
    }
    return Next::StayInWelcome;
}

namespace {

// A new base's tables and reference types, written before it takes its name.
void seedNewBase(Database& db) {
    createSchema(db);
    writeSeedTypes(db);
}

} // namespace

Next BaseSession::createBase(const QString& path) {
    const QString connect =
        QStringLiteral(";pwd=") + fixedPassword() +
        askPassword(QStringLiteral("Enter a Password for your base - or leave it blank"));
    try {
        adopt(Database::create(path, locale() + connect, Encrypt, seedNewBase), path, connect);
    } catch (const StoreError& e) {
        if (e.number() == err::DatabaseExists) {
            prompter_.message(e.description(), Buttons::Ok, Icon::None);
            return Next::StayInWelcome;
        }
        return afterFailure(e.description());
    }
    return Next::ShowMainWindow;
}

Next BaseSession::createStartBase(const QString& path) {
    const QString connect = QStringLiteral(";pwd=") + fixedPassword();
    try {
        adopt(Database::create(path, locale() + connect, Encrypt, seedNewBase), path, connect);
    } catch (const StoreError& e) {
        prompter_.message(e.description(), Buttons::Ok,
                          e.number() == err::DatabaseExists ? Icon::None : Icon::Exclamation);
        return isOpen() ? Next::ShowMainWindow : Next::ShowWelcome;
    }
    return Next::ShowMainWindow;
}

Next BaseSession::openBase(const QString& path) {
    BasePath = path;
    const QString connect = QStringLiteral(";pwd=") + fixedPassword();
    try {
        adopt(openWith(path, connect), path, connect);
    } catch (const StoreError& e) {
        if (e.number() == err::WrongPassword) return retryBasePassword();
        return afterFailure(e.description());
    }
    return Next::ShowMainWindow;
}

Next BaseSession::retryBasePassword() {
    const QString connect = QStringLiteral(";pwd=") + fixedPassword() +
                            askPassword(QStringLiteral("Enter the Password for your base"));
    try {
        adopt(openWith(BasePath, connect), BasePath, connect);
    } catch (const StoreError& e) {
        if (e.number() == err::WrongPassword) return Next::RetryMode;
        return afterFailure(e.description());
    }
    return Next::ShowMainWindow;
}

Next BaseSession::reopenBase() {
    const QString path = BasePath;
    const QString previous = BaseConnect;
    for (;;) {
        const std::optional<QString> typed =
            prompter_.input(QStringLiteral("Enter a Password for your base - or leave it blank"),
                            QStringLiteral("Password"), QString());
        // Cancelling reopens the base with the password it was open with before.
        const QString connect =
            typed ? QStringLiteral(";pwd=") + fixedPassword() + *typed : previous;
        try {
            // The base this program has just closed: checking it again would read all of it.
            adopt(openWith(path, connect, Database::Check::None), path, connect);
            return Next::ShowMainWindow;
        } catch (const StoreError& e) {
            if (e.number() == err::WrongPassword && typed) continue;
            prompter_.message(e.description(), Buttons::Ok, Icon::Exclamation);
            return Next::ShowWelcome;
        }
    }
}

Next BaseSession::saveBaseAs() {
    const QString from = openPath_.isEmpty() ? BasePath : openPath_;
    const QString connect = BaseConnect;
    closeBase();
    BasePath = from;
    // An existing file is refused below, so the dialog does not offer to replace it.
    const QString chosen = prompter_.saveFile(FileRequest{QStringLiteral("Please select a base"),
                                                          baseFilter(),
                                                          QFileInfo(from).absolutePath(),
                                                          {},
                                                          /*confirmOverwrite*/ false});
    QString target = from;
    if (!chosen.isEmpty() &&
        QFileInfo(chosen).absoluteFilePath() != QFileInfo(from).absoluteFilePath()) {
        if (QFileInfo::exists(chosen)) {
            prompter_.message(QStringLiteral("The file %1 exists already: the base keeps its name.")
                                  .arg(QDir::toNativeSeparators(chosen)),
                              Buttons::Ok, Icon::Exclamation);
        } else {
            const QString problem = moveBaseFile(from, chosen);
            if (problem.isEmpty())
                target = chosen;
            else
                prompter_.message(problem, Buttons::Ok, Icon::Exclamation);
        }
    }
    try {
        // The base just closed, moved or copied whole (the copy compared with the original).
        adopt(openWith(target, connect, Database::Check::None), target, connect);
    } catch (const StoreError& e) {
        BasePath = target;
        prompter_.message(e.description(), Buttons::Ok, Icon::Exclamation);
        return Next::ShowWelcome;
    }
    return Next::ShowMainWindow;
}

QString BaseSession::freeStartBaseName(const QString& folder) {
    const QDir dir(folder);
    for (qint64 k = 1;; ++k) {
        const QString name = QStringLiteral("NewBase%1.vlm").arg(k, 3, 10, QLatin1Char('0'));
        if (!QFileInfo::exists(dir.filePath(name))) return name;
    }
}

namespace {

QByteArray fileHash(const QString& path, bool* ok) {
    QFile f(path);
    QCryptographicHash h(QCryptographicHash::Sha256);
    *ok = f.open(QIODevice::ReadOnly) && h.addData(&f);
    return h.result();
}

} // namespace

QString moveBaseFile(const QString& from, const QString& to) {
    const QByteArray src = QFile::encodeName(from), dst = QFile::encodeName(to);
    if (std::rename(src.constData(), dst.constData()) == 0) return {};
    if (errno != EXDEV)
        return QStringLiteral("The base could not be moved to %1: %2")
            .arg(QDir::toNativeSeparators(to), QString::fromLocal8Bit(std::strerror(errno)));
    // Another file system: copy, compare, and only then remove the original.
    if (!QFile::copy(from, to))
        return QStringLiteral("The base could not be copied to %1.")
            .arg(QDir::toNativeSeparators(to));
    bool okFrom = false, okTo = false;
    const QByteArray a = fileHash(from, &okFrom), b = fileHash(to, &okTo);
    if (!okFrom || !okTo || a != b) {
        QFile::remove(to);
        return QStringLiteral(
                   "The copy of the base to %1 is not faithful; the base stays where it was.")
            .arg(QDir::toNativeSeparators(to));
    }
    if (!QFile::remove(from))
        return QStringLiteral("The base was copied to %1 but the original could not be removed.")
            .arg(QDir::toNativeSeparators(to));
    return {};
}

} // namespace vlm::store

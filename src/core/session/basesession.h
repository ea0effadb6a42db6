#pragma once

// The open base and its lifecycle: create, open, retry a password, reopen, save as, close.

#include "core/store/database.h"
#include "core/store/schema.h"

#include <QString>
#include <functional>
#include <memory>

namespace vlm {
class Prompter;
}

namespace vlm::store {

// What the windows should do once a base operation is over.
enum class Next {
    ShowMainWindow, // a base is open: show (or keep) the main window on it
    StayInWelcome,  // nothing changed; the welcome dialog stays open
    RetryMode,      // a second wrong password: switch the welcome dialog to its retry mode
    ShowWelcome,    // no base could be opened: offer the welcome dialog
};

// The open base: its path, connect string, database and shared recordsets. Exactly one
// exists for the whole run; opening another base replaces its contents.
class BaseSession {
public:
    explicit BaseSession(Prompter& prompter);
    ~BaseSession();

    static QString fixedPassword() { return QStringLiteral("Rt48Kw27"); }
    static QString locale() { return QStringLiteral(";LANGID=0x0409;CP=1252;COUNTRY=0"); }
    static QString baseFilter() {
        return QStringLiteral("Velmora Base (*.vlm)|*.vlm|Access Base (*.mdb)|*.mdb");
    }

    QString BasePath;    // the base that is open or about to be opened
    QString BaseConnect; // ";pwd=" + the base password
    std::unique_ptr<Database> BaseDb;
    std::unique_ptr<SharedRecordsets> shared;

    bool isOpen() const { return BaseDb && BaseDb->isOpen(); }

    // Makes the progress the check of a base at open reports to, one per open; none when unset.
    std::function<std::unique_ptr<Progress>()> openProgress;
    SharedRecordsets& rs() const { return *shared; }
    // File name of the open base, as the title bar shows it.
    QString fileName() const;

    Next createBase(const QString& path);
    Next createStartBase(const QString& path);
    Next openBase(const QString& path);
    Next retryBasePassword();
    Next reopenBase();
    // Moves the open base to a file the user chooses. The windows on the base must be
    // closed by the caller first.
    Next saveBaseAs();

    // Closes the open base (Database > Load, the import).
    void closeBase();

    // "NewBase" + number + ".vlm": the first free name in the folder, from 001 upwards.
    static QString freeStartBaseName(const QString& folder);

private:
    void adopt(std::unique_ptr<Database> db, const QString& path, const QString& connect);
    std::unique_ptr<Database> openWith(const QString& path, const QString& connect,
                                       Database::Check check = Database::Check::Full);
    Next afterFailure(const QString& description);
    QString askPassword(const QString& prompt);

    Prompter& prompter_;
    QString openPath_; // the base actually open, to come back to when another fails
};

// Moves a file; across file systems it copies, checks the copy and only then removes the
// original. Returns an empty text on success, else what went wrong.
QString moveBaseFile(const QString& from, const QString& to);

} // namespace vlm::store

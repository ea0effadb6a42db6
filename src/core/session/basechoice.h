#pragma once

// Choosing a base file: the open and new-base dialogs and the main window's title.

#include <QString>

namespace vlm {

struct Session;
class Prompter;

// The base file dialog (the hidden host `chooseBaseFile`): "Please select a base", the base
// filter; a chosen file becomes BasePath, a cancelled dialog leaves it as it was.
// Tells whether a file was chosen.
bool chooseBaseFile(Session& ctx);

// Name of an existing base to open, or an empty text when cancelled.
QString chooseExistingBase(Prompter& prompter);
// Name of a base to create, or an empty text when cancelled. The name is taken as typed:
// no extension is added, and a file that exists already is left for the creation to refuse.
QString chooseNewBase(Prompter& prompter);

// "Velmora - " + the file name of the open base.
QString mainWindowTitle(const QString& baseFileName);

} // namespace vlm

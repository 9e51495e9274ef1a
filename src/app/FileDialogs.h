#pragma once

#include "exchange/ExchangeFormat.h"

#include <QString>

#include <optional>

class QWidget;

namespace app {

// An exchange file chosen in a dialog, in the format of the file type
// chosen there.
struct ExchangeFile {
    QString path;
    exchange::ExchangeFormat format = exchange::ExchangeFormat::Csv;
};

// The open and save dialogs of the main window, behind an interface so that
// tests answer them without a modal loop.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // The chosen file, or an empty string when the user cancelled.
    [[nodiscard]] virtual QString chooseOpenFile() = 0;
    // The same for a reference language: a dialog titled title ("Open
    // Reference") that starts in the folder of the last file chosen without
    // proposing that file, the working file, as the reference.
    [[nodiscard]] virtual QString chooseReferenceFile(const QString& title) = 0;
    // The chosen file, starting at startPath (empty: nowhere in particular);
    // an empty string when the user cancelled or confirmed no name. Adds no
    // extension and never asks before a file is replaced.
    [[nodiscard]] virtual QString chooseSaveFile(const QString& startPath) = 0;
    // An exchange file to import, or to export to starting at startPath;
    // nothing when the user cancelled. Export asks before a file is
    // replaced, and a name typed without an extension gets its type's.
    [[nodiscard]] virtual std::optional<ExchangeFile> chooseImportFile() = 0;
    [[nodiscard]] virtual std::optional<ExchangeFile> chooseExportFile(const QString& startPath) = 0;
    // A translation memory to use from now on, starting at currentPath: an
    // existing one, or a new name for a memory to make (so nothing is asked
    // before a file is "replaced"). Empty when the user cancelled.
    [[nodiscard]] virtual QString chooseMemoryFile(const QString& currentPath) = 0;

protected:
    FileDialogs() = default;
    FileDialogs(const FileDialogs&) = default;
    FileDialogs& operator=(const FileDialogs&) = default;
};

// The toolkit's file dialogs with the filter "Ludra Language Files (*.xom)".
class SystemFileDialogs final : public FileDialogs {
public:
    // owner must outlive this object.
    explicit SystemFileDialogs(QWidget& owner);

    [[nodiscard]] QString chooseOpenFile() override;
    [[nodiscard]] QString chooseReferenceFile(const QString& title) override;
    [[nodiscard]] QString chooseSaveFile(const QString& startPath) override;
    [[nodiscard]] std::optional<ExchangeFile> chooseImportFile() override;
    [[nodiscard]] std::optional<ExchangeFile> chooseExportFile(const QString& startPath) override;
    [[nodiscard]] QString chooseMemoryFile(const QString& currentPath) override;

private:
    QWidget& m_owner;
    // The open dialog comes back in the folder of the previous choice, as a
    // dialog that lives for the whole run would.
    QString m_lastOpenPath;
};

} // namespace app

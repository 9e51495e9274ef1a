#pragma once

#include <QString>

class QWidget;

namespace app {

// The open and save dialogs of the main window, behind an interface so that
// tests answer them without a modal loop.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // The chosen file, or an empty string when the user cancelled.
    [[nodiscard]] virtual QString chooseOpenFile() = 0;
    // The same for a reference language: a dialog titled "Open Reference"
    // that starts in the folder of the last file chosen without proposing
    // that file, the working file, as the reference.
    [[nodiscard]] virtual QString chooseReferenceFile() = 0;
    // The chosen file, starting at startPath (empty: nowhere in particular);
    // an empty string when the user cancelled or confirmed no name. Adds no
    // extension and never asks before a file is replaced.
    [[nodiscard]] virtual QString chooseSaveFile(const QString& startPath) = 0;

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
    [[nodiscard]] QString chooseReferenceFile() override;
    [[nodiscard]] QString chooseSaveFile(const QString& startPath) override;

private:
    QWidget& m_owner;
    // The open dialog comes back in the folder of the previous choice, as a
    // dialog that lives for the whole run would.
    QString m_lastOpenPath;
};

} // namespace app

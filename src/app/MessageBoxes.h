#pragma once

#include "review/ReviewFile.h"

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

class QWidget;

namespace app {

// The answer to "Save changes to ...?".
enum class SaveChoice { Save, Discard, Cancel };
// The answer to "Recover unsaved changes to ...?".
enum class RecoverChoice { Recover, Discard, Later };

// The main window's message boxes, behind an interface so that tests see
// what would be shown, and answer it, instead of a modal box.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // "Bad Language File", caption "Error", one OK button, no icon; detail,
    // what was wrong and where, behind the box's Show Details.
    virtual void showBadLanguageFile(const QString& detail) = 0;
    // The application's error box: caption the application title, the error
    // icon, one OK button, and text exactly as given (see errorBoxText).
    virtual void showError(const QString& text) = 0;
    // The question before unsaved changes would be dropped: text, with the
    // buttons Save, Discard and Cancel; the close box answers Cancel.
    [[nodiscard]] virtual SaveChoice askSaveChanges(const QString& text) = 0;
    // The question before a save replaces a file other than the one open:
    // text, with the buttons Replace and Cancel (the default, and the close
    // box's answer). Gives whether to replace it.
    [[nodiscard]] virtual bool askReplaceFile(const QString& text) = 0;
    // The question after a run that did not end cleanly: text, with the
    // buttons Recover (the default, so that Return recovers), Discard and
    // Later (the close box's answer); without Recover when canRecover is
    // false.
    [[nodiscard]] virtual RecoverChoice askRecover(const QString& text, bool canRecover) = 0;
    // The question after an update found entries the new reference no
    // longer has: text, with the buttons Keep Them (the default, and the
    // close box's answer) and Drop Them. Gives whether to drop them.
    [[nodiscard]] virtual bool askDropRemoved(const QString& text) = 0;
    // Whether to make the safe fixes text describes: Fix and Cancel (the
    // default, and the close box's answer).
    [[nodiscard]] virtual bool askFix(const QString& text) = 0;
    // The languages of the reference and of the file, asked where their
    // names tell none: text, two boxes filled with guess, OK and Cancel
    // (the close box's answer). Nothing when cancelled.
    [[nodiscard]] virtual std::optional<review::ReviewLanguages> askLanguages(
        const QString& text, const review::ReviewLanguages& guess)
        = 0;
    // An error with more to tell behind the box's Show Details: caption the
    // application title, the error icon, one OK button.
    virtual void showErrorWithDetails(const QString& text, const QString& details) = 0;
    // A box that tells something: About, what an import did.
    virtual void showInformation(const QString& caption, const QString& text) = 0;
    // The keyboard shortcuts as a table of two columns: what, and the keys.
    virtual void showShortcuts(const QList<QPair<QString, QString>>& rows) = 0;

protected:
    MessageBoxes() = default;
    MessageBoxes(const MessageBoxes&) = default;
    MessageBoxes& operator=(const MessageBoxes&) = default;
};

class SystemMessageBoxes final : public MessageBoxes {
public:
    // owner must outlive this object.
    explicit SystemMessageBoxes(QWidget& owner);

    void showBadLanguageFile(const QString& detail) override;
    void showError(const QString& text) override;
    void showErrorWithDetails(const QString& text, const QString& details) override;
    [[nodiscard]] SaveChoice askSaveChanges(const QString& text) override;
    [[nodiscard]] bool askReplaceFile(const QString& text) override;
    [[nodiscard]] RecoverChoice askRecover(const QString& text, bool canRecover) override;
    [[nodiscard]] bool askDropRemoved(const QString& text) override;
    [[nodiscard]] bool askFix(const QString& text) override;
    [[nodiscard]] std::optional<review::ReviewLanguages> askLanguages(
        const QString& text, const review::ReviewLanguages& guess) override;
    void showInformation(const QString& caption, const QString& text) override;
    void showShortcuts(const QList<QPair<QString, QString>>& rows) override;

private:
    QWidget& m_owner;
};

} // namespace app

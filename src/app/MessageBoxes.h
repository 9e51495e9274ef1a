#pragma once

#include <QString>

class QWidget;

namespace app {

// The main window's two message boxes, behind an interface so that tests
// see what would be shown instead of a modal box.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // "Bad Language File", caption "Error", one OK button, no icon.
    virtual void showBadLanguageFile() = 0;
    // The application's error box: caption the application title, the error
    // icon, one OK button, and text exactly as given (see errorBoxText).
    virtual void showError(const QString& text) = 0;

protected:
    MessageBoxes() = default;
    MessageBoxes(const MessageBoxes&) = default;
    MessageBoxes& operator=(const MessageBoxes&) = default;
};

class SystemMessageBoxes final : public MessageBoxes {
public:
    // owner must outlive this object.
    explicit SystemMessageBoxes(QWidget& owner);

    void showBadLanguageFile() override;
    void showError(const QString& text) override;

private:
    QWidget& m_owner;
};

} // namespace app

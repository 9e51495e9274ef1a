#pragma once

#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace dialogs {

// Edit › Pre-translate…: the least score a near match needs, and whether
// an exact match is taken as translated (by default it needs review too).
class PreTranslateDialog final : public QDialog {
    Q_OBJECT

public:
    explicit PreTranslateDialog(QWidget* parent = nullptr);

    [[nodiscard]] QSpinBox& minScore() const noexcept { return *m_minScore; }
    [[nodiscard]] QCheckBox& exactAsTranslated() const noexcept { return *m_exactAsTranslated; }

private:
    QSpinBox* m_minScore = nullptr;
    QCheckBox* m_exactAsTranslated = nullptr;
};

} // namespace dialogs

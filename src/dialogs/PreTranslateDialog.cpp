#include "dialogs/PreTranslateDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>

namespace dialogs {

PreTranslateDialog::PreTranslateDialog(QWidget* const parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PreTranslateDialog"));
    setWindowTitle(QStringLiteral("Pre-translate"));
    auto* const layout = new QFormLayout(this);
    layout->addRow(new QLabel(QStringLiteral("Each untranslated entry gets the memory's best translation of its "
                                             "reference text; the entries filled need review."),
        this));
    m_minScore = new QSpinBox(this);
    m_minScore->setObjectName(QStringLiteral("MinScore"));
    m_minScore->setRange(1, 100);
    m_minScore->setValue(75);
    m_minScore->setSuffix(QStringLiteral(" %"));
    layout->addRow(QStringLiteral("&Least similarity of a near match:"), m_minScore);
    m_exactAsTranslated = new QCheckBox(QStringLiteral("Take &exact matches as translated"), this);
    m_exactAsTranslated->setObjectName(QStringLiteral("ExactAsTranslated"));
    layout->addRow(m_exactAsTranslated);
    auto* const buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

} // namespace dialogs

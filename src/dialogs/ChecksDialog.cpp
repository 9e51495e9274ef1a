#include "dialogs/ChecksDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFont>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace dialogs {

namespace {

// The item's column of the key, kept beside the name it shows.
constexpr int KeyRole = Qt::UserRole;

QSpinBox* limitBox(QWidget* const parent, const char* objectName, const int maximum, const QString& suffix)
{
    auto* const box = new QSpinBox(parent);
    box->setObjectName(QLatin1StringView(objectName));
    box->setRange(0, maximum);
    box->setSpecialValueText(QStringLiteral("no limit"));
    box->setSuffix(suffix);
    return box;
}

} // namespace

ChecksDialog::ChecksDialog(QWidget* const parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ChecksDialog"));
    setWindowTitle(QStringLiteral("Checks"));
    auto* const layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("The checks run on this file beside its reference; the review file "
                                                "keeps the choice with the next save."),
        this));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("CheckList"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Check"), QStringLiteral("What it finds")});
    m_list->setRootIsDecorated(false);
    m_list->setMinimumSize(640, 360);
    layout->addWidget(m_list);

    auto* const limits = new QFormLayout;
    m_maxCharacters = limitBox(this, "MaxCharacters", 1'000'000, QStringLiteral(" characters"));
    limits->addRow(QStringLiteral("Longest &text:"), m_maxCharacters);
    m_maxPercent = limitBox(this, "MaxPercent", 1'000'000, QStringLiteral(" % of the reference"));
    limits->addRow(QStringLiteral("Longest beside the &reference:"), m_maxPercent);
    m_dictionary = new QComboBox(this);
    m_dictionary->setObjectName(QStringLiteral("Dictionary"));
    limits->addRow(QStringLiteral("Spelling &dictionary:"), m_dictionary);
    layout->addLayout(limits);

    auto* const buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void ChecksDialog::setChoices(const CheckChoices& choices)
{
    m_shown = choices;
    m_list->clear();
    // One heading a severity, in the order the checks first give them.
    QTreeWidgetItem* heading = nullptr;
    for (const CheckChoice& check : choices.checks) {
        if (!heading || heading->text(0) != check.severity) {
            heading = new QTreeWidgetItem(m_list, {check.severity});
            heading->setFlags(Qt::ItemIsEnabled);
            QFont bold = heading->font(0);
            bold.setBold(true);
            heading->setFont(0, bold);
            // A heading runs across both columns, so that its width leaves
            // the names' column as narrow as the names.
            heading->setFirstColumnSpanned(true);
        }
        auto* const item = new QTreeWidgetItem(m_list, {check.name, check.explanation});
        item->setData(0, KeyRole, check.key);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(0, check.on ? Qt::Checked : Qt::Unchecked);
        item->setToolTip(1, check.explanation);
    }
    // The names' column as wide as the longest name beside its box.
    int widest = 0;
    for (const CheckChoice& check : choices.checks)
        widest = std::max(widest, m_list->fontMetrics().horizontalAdvance(check.name));
    m_list->setColumnWidth(0, widest + 4 * m_list->fontMetrics().height());
    m_maxCharacters->setValue(choices.maxCharacters);
    m_maxPercent->setValue(choices.maxPercent);
    m_dictionary->clear();
    m_dictionary->addItem(choices.fileLanguage.isEmpty()
                              ? QStringLiteral("The file's language")
                              : QStringLiteral("The file's language (%1)").arg(choices.fileLanguage),
        QString());
    for (const QString& tag : choices.dictionaries)
        m_dictionary->addItem(tag, tag);
    // A choice no longer installed stays shown, so that OK keeps it.
    if (!choices.dictionary.isEmpty() && m_dictionary->findData(choices.dictionary) < 0)
        m_dictionary->addItem(choices.dictionary, choices.dictionary);
    m_dictionary->setCurrentIndex(std::max(0, m_dictionary->findData(choices.dictionary)));
}

CheckChoices ChecksDialog::choices() const
{
    CheckChoices choices = m_shown;
    for (CheckChoice& check : choices.checks) {
        for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* const item = m_list->topLevelItem(i);
            if (item->data(0, KeyRole).toString() == check.key)
                check.on = item->checkState(0) == Qt::Checked;
        }
    }
    choices.maxCharacters = m_maxCharacters->value();
    choices.maxPercent = m_maxPercent->value();
    choices.dictionary = m_dictionary->currentData().toString();
    return choices;
}

} // namespace dialogs

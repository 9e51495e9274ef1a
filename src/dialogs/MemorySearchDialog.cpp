#include "dialogs/MemorySearchDialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

namespace dialogs {

MemorySearchDialog::MemorySearchDialog(Search search, QWidget* const parent)
    : QDialog(parent)
    , m_search(std::move(search))
{
    setObjectName(QStringLiteral("MemorySearchDialog"));
    setWindowTitle(QStringLiteral("Search Memory"));
    auto* const layout = new QVBoxLayout(this);
    auto* const label = new QLabel(QStringLiteral("&Word or phrase:"), this);
    m_phrase = new QLineEdit(this);
    m_phrase->setObjectName(QStringLiteral("MemoryPhrase"));
    label->setBuddy(m_phrase);
    layout->addWidget(label);
    layout->addWidget(m_phrase);
    m_results = new QTableWidget(0, 3, this);
    m_results->setObjectName(QStringLiteral("MemoryResults"));
    m_results->setHorizontalHeaderLabels(
        {QStringLiteral("Source"), QStringLiteral("Translation"), QStringLiteral("From")});
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_results->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_results->verticalHeader()->hide();
    layout->addWidget(m_results);
    resize(640, 360);
    connect(m_phrase, &QLineEdit::returnPressed, this, [this] { searchFor(m_phrase->text()); });
}

void MemorySearchDialog::searchFor(const QString& phrase)
{
    if (m_phrase->text() != phrase)
        m_phrase->setText(phrase);
    const std::vector<QStringList> rows = m_search(phrase);
    m_results->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        for (int column = 0; column < 3; ++column)
            m_results->setItem(row, column, new QTableWidgetItem(rows[static_cast<std::size_t>(row)].value(column)));
    }
    setWindowTitle(QStringLiteral("Search Memory: %1 found").arg(rows.size()));
}

} // namespace dialogs

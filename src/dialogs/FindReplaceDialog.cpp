#include "dialogs/FindReplaceDialog.h"

#include "dialogs/FormFont.h"
#include "dialogs/SearchTarget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

namespace dialogs {

namespace {

QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent)
{
    auto* const button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    // Enter in a text box must not press a button the user did not choose.
    button->setAutoDefault(false);
    return button;
}

QLineEdit* makeTextBox(const char* name, QWidget* parent)
{
    auto* const box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

QLabel* makeLabel(const QString& text, const char* name, QWidget* parent)
{
    auto* const label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

FindReplaceDialog::FindReplaceDialog(SearchTarget& target, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_target(target)
    , m_findText(makeTextBox("FindText", this))
    , m_patternError(makeLabel(QString(), "PatternError", this))
    , m_replaceText(makeTextBox("ReplaceText", this))
    , m_lookIn(new QComboBox(this))
    , m_mode(new QComboBox(this))
    , m_matchCase(new QCheckBox(QStringLiteral("Match case"), this))
    , m_findNext(makeButton(QStringLiteral("Find Next"), "FindNext", this))
    , m_findPrevious(makeButton(QStringLiteral("Find Previous"), "FindPrevious", this))
    , m_replace(makeButton(QStringLiteral("Replace"), "Replace", this))
    , m_replaceAll(makeButton(QStringLiteral("Replace All"), "ReplaceAll", this))
    , m_count(makeButton(QStringLiteral("Count"), "Count", this))
    , m_close(makeButton(QStringLiteral("Close"), "Close", this))
    , m_result(makeLabel(QString(), "Result", this))
{
    setObjectName(QStringLiteral("FindReplaceForm"));
    setWindowTitle(QStringLiteral("Find and Replace"));
    setFont(formFont());
    setModal(false);

    m_patternError->setStyleSheet(QStringLiteral("color: #b00000"));
    m_patternError->setWordWrap(true);
    m_patternError->hide();
    m_lookIn->setObjectName(QStringLiteral("LookIn"));
    // In the order of SearchRequest::lookIn.
    m_lookIn->addItems({QStringLiteral("Texts"), QStringLiteral("Names"), QStringLiteral("Names and texts")});
    m_mode->setObjectName(QStringLiteral("MatchMode"));
    // In the order of SearchRequest::mode.
    m_mode->addItems({QStringLiteral("Contains"), QStringLiteral("Starts with"), QStringLiteral("Whole text"),
        QStringLiteral("Regular expression")});
    m_matchCase->setObjectName(QStringLiteral("MatchCase"));

    auto* const fields = new QGridLayout;
    fields->addWidget(makeLabel(QStringLiteral("Find what:"), "LabFind", this), 0, 0);
    fields->addWidget(m_findText, 0, 1, 1, 3);
    fields->addWidget(m_patternError, 1, 1, 1, 3);
    fields->addWidget(makeLabel(QStringLiteral("Replace with:"), "LabReplace", this), 2, 0);
    fields->addWidget(m_replaceText, 2, 1, 1, 3);
    fields->addWidget(makeLabel(QStringLiteral("Look in:"), "LabLookIn", this), 3, 0);
    fields->addWidget(m_lookIn, 3, 1);
    fields->addWidget(makeLabel(QStringLiteral("Match:"), "LabMatch", this), 3, 2);
    fields->addWidget(m_mode, 3, 3);
    fields->addWidget(m_matchCase, 4, 1, 1, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    auto* const buttons = new QHBoxLayout;
    for (QPushButton* const button : {m_findNext, m_findPrevious, m_replace, m_replaceAll, m_count, m_close})
        buttons->addWidget(button);

    auto* const layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(m_result);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_findNext, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    connect(m_findPrevious, &QPushButton::clicked, this, &FindReplaceDialog::findPrevious);
    connect(m_replace, &QPushButton::clicked, this, &FindReplaceDialog::replace);
    connect(m_replaceAll, &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    connect(m_count, &QPushButton::clicked, this, &FindReplaceDialog::countMatches);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    // Enter in the find box is Find Next.
    connect(m_findText, &QLineEdit::returnPressed, this, &FindReplaceDialog::findNext);
    connect(m_findText, &QLineEdit::textChanged, this, &FindReplaceDialog::optionsChanged);
    connect(m_lookIn, &QComboBox::currentIndexChanged, this, &FindReplaceDialog::optionsChanged);
    connect(m_mode, &QComboBox::currentIndexChanged, this, &FindReplaceDialog::optionsChanged);
    connect(m_matchCase, &QCheckBox::toggled, this, &FindReplaceDialog::optionsChanged);
}

void FindReplaceDialog::showFor(const QString& findText)
{
    if (!findText.isEmpty())
        m_findText->setText(findText);
    QDialog::show();
    raise();
    activateWindow();
    m_findText->setFocus();
    m_findText->selectAll();
}

QString FindReplaceDialog::resultText() const
{
    return m_result->text();
}

SearchRequest FindReplaceDialog::request() const
{
    return {m_findText->text(), m_lookIn->currentIndex(), m_mode->currentIndex(), m_matchCase->isChecked()};
}

void FindReplaceDialog::optionsChanged()
{
    // A match found under other options is no longer the current one.
    m_current.reset();
    m_result->clear();
    const QString why = m_target.searchProblem(request());
    m_patternError->setText(why);
    m_patternError->setVisible(!why.isEmpty());
    // A pattern that does not compile changes and counts nothing.
    for (QPushButton* const button : {m_replace, m_replaceAll, m_count})
        button->setEnabled(why.isEmpty());
}

bool FindReplaceDialog::currentMatchIsSelected() const
{
    return m_current && m_current->gridRow == m_target.currentGridRow()
        && m_current->column == m_target.currentColumn();
}

void FindReplaceDialog::showFound(const std::optional<FoundText>& found)
{
    m_current = found;
    if (!found) {
        m_result->setText(QStringLiteral("Not found"));
        return;
    }
    m_result->clear();
    m_target.selectFoundCell(found->gridRow, found->column);
}

void FindReplaceDialog::findNext()
{
    showFound(m_target.findMatch(request(), currentMatchIsSelected() ? m_current : std::nullopt, false));
}

void FindReplaceDialog::findPrevious()
{
    showFound(m_target.findMatch(request(), currentMatchIsSelected() ? m_current : std::nullopt, true));
}

void FindReplaceDialog::replace()
{
    if (!currentMatchIsSelected()) {
        findNext();
        return;
    }
    const ReplaceOutcome outcome = m_target.replaceMatch(request(), *m_current, m_replaceText->text());
    if (!outcome.replaced) {
        // The cell changed since the match was found: look again from there.
        findNext();
        return;
    }
    showFound(outcome.next);
}

void FindReplaceDialog::replaceAll()
{
    if (!m_target.searchProblem(request()).isEmpty())
        return;
    m_current.reset();
    m_result->setText(m_target.replaceAll(request(), m_replaceText->text()));
}

void FindReplaceDialog::countMatches()
{
    if (!m_target.searchProblem(request()).isEmpty())
        return;
    m_result->setText(m_target.countMatches(request()));
}

} // namespace dialogs

#include "app/SuggestionsPane.h"

#include "review/WordDiff.h"

#include <QLabel>
#include <QListWidget>
#include <QTextDocument>
#include <QVBoxLayout>

namespace app {

namespace {

constexpr int Offered = 5;

// The stored source as rich text, marked against the entry's source.
QString markedSource(const QString& entrySource, const QString& stored)
{
    QString html;
    for (const review::DiffPart& part : review::wordDiff(stored, entrySource)) {
        const QString text = part.text.toHtmlEscaped();
        switch (part.kind) {
        case review::DiffPart::Kind::Same:
            html += text;
            break;
        case review::DiffPart::Kind::Deleted:
            html += QStringLiteral("<s style=\"color:#b00020\">%1</s>").arg(text);
            break;
        case review::DiffPart::Kind::Inserted:
            html += QStringLiteral("<u style=\"color:#1b5e20\">%1</u>").arg(text);
            break;
        }
    }
    return html;
}

// A text on one line: line breaks shown as the pilcrow the preview shows.
QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("¶"));
    text.replace(u'\n', u'¶');
    text.replace(u'\r', u'¶');
    return text;
}

} // namespace

SuggestionsPane::SuggestionsPane(QWidget* const parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("SuggestionsPane"));
    auto* const layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_title = new QLabel(QStringLiteral("Translation memory"), this);
    m_title->setObjectName(QStringLiteral("SuggestionsTitle"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->adjustSize();
    layout->addWidget(m_title);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("SuggestionsList"));
    m_list->setToolTip(QStringLiteral("Ctrl+1 … Ctrl+5 or a double click puts a suggestion in the entry; "
                                      "struck out: words only the stored source has; underlined: words only "
                                      "this entry's source has"));
    layout->addWidget(m_list);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = m_list->row(item);
        if (row >= 0 && row < static_cast<int>(m_matches.size()))
            emit chosen(row);
    });
}

void SuggestionsPane::show(const QString& source, std::vector<memory::MemoryMatch> matches)
{
    m_matches = std::move(matches);
    m_source = source;
    if (m_matches.size() > Offered)
        m_matches.resize(Offered);
    m_list->clear();
    if (m_matches.empty()) {
        tell(QStringLiteral("No suggestions"));
        m_source = source;
        return;
    }
    m_title->setText(m_matches.size() == 1
                         ? QStringLiteral("Translation memory: 1 suggestion")
                         : QStringLiteral("Translation memory: %1 suggestions").arg(m_matches.size()));
    for (std::size_t i = 0; i < m_matches.size(); ++i) {
        const memory::MemoryMatch& match = m_matches[i];
        const QString html = QStringLiteral("<b>%1</b>&nbsp;&nbsp;%2%&nbsp;&nbsp;%3&nbsp;&nbsp;→&nbsp;&nbsp;%4")
                                 .arg(i + 1)
                                 .arg(match.score)
                                 .arg(markedSource(oneLine(source), oneLine(match.unit.source)),
                                     oneLine(match.unit.target).toHtmlEscaped());
        auto* const item = new QListWidgetItem(m_list);
        auto* const label = new QLabel(html, m_list);
        label->setTextFormat(Qt::RichText);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        item->setSizeHint(label->sizeHint());
        m_list->setItemWidget(item, label);
    }
}

void SuggestionsPane::tell(const QString& message)
{
    m_matches.clear();
    m_source.clear();
    m_list->clear();
    m_title->setText(QStringLiteral("Translation memory: %1").arg(message));
}

QStringList SuggestionsPane::shownLines() const
{
    QStringList lines{m_title->text()};
    for (int row = 0; row < m_list->count(); ++row) {
        const auto* const label = qobject_cast<const QLabel*>(m_list->itemWidget(m_list->item(row)));
        QTextDocument plain;
        plain.setHtml(label ? label->text() : QString());
        lines << plain.toPlainText();
    }
    return lines;
}

} // namespace app

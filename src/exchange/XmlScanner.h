#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace exchange {

// Reads an XML 1.0 document of UTF-8 bytes token by token, in one pass
// that never reads a byte at or beyond the end of its input, and refuses
// with ImportError (at the line where the fault is) whatever is not
// well-formed: a tag left open or closed by another, a stray '<' or '&',
// bytes that are not UTF-8, characters XML does not allow, an unbound
// namespace prefix, a second root, an attribute given twice. It is strict
// where a lenient reader would guess: a DOCTYPE that declares entities, a
// reference to any entity but the five XML predefines, elements nested
// deeper than DeepestNesting and an encoding other than UTF-8 are refused
// by name. Comments and processing instructions are skipped.
//
// Element and attribute names are views of the input. Namespaces are
// resolved as the document declares them. Texts are given as XML gives them
// (each CR LF and lone CR a LF, references replaced), and decoded only when
// asked for: a document of a million units decodes only the texts its
// reader keeps.
// An XML document's bytes as UTF-8: a UTF-8 byte-order mark is dropped, and
// UTF-16 announced by its mark (as some translation tools write XLIFF and
// TMX) is read as the UTF-8 of the same text, kept in converted. Throws
// ImportError at line 1 for UTF-16 that holds no characters.
struct Utf8Document {
    QByteArrayView bytes;
    bool fromUtf16 = false;
};
[[nodiscard]] Utf8Document utf8Of(QByteArrayView bytes, QByteArray& converted);

class XmlScanner {
public:
    // As deep as xmllint reads by default.
    static constexpr int DeepestNesting = 256;

    enum class Token { StartElement, EndElement, Text, EndOfDocument };

    struct Attribute {
        QByteArrayView qualifiedName;
        QByteArrayView localName;
        // Empty for an attribute without a prefix; valid until the next token.
        const QString* namespaceUri = nullptr;
        // The value as it stands between its quotes, checked; and, when it
        // holds a reference or white space that XML replaces, the value
        // made. A plain value is decoded only when asked for.
        QByteArrayView raw;
        std::optional<QString> made;

        [[nodiscard]] QString value() const { return made ? *made : QString::fromUtf8(raw); }
    };

    // bytes (without a byte-order mark) must outlive the scanner; they are
    // UTF-8, or were UTF-16 once, whose declaration then names UTF-16.
    explicit XmlScanner(QByteArrayView bytes, bool fromUtf16 = false);
    XmlScanner(const XmlScanner&) = delete;
    XmlScanner& operator=(const XmlScanner&) = delete;

    // The next token. A Text token comes for each run of character data,
    // CDATA sections and references between two pieces of markup.
    [[nodiscard]] Token next();

    // The line the current token starts on, from 1.
    [[nodiscard]] int line() const noexcept { return m_tokenLine; }
    // The depth of the current element (the root's is 1), for a start or
    // an end tag; for text, the depth of the element it stands in.
    [[nodiscard]] int depth() const noexcept { return m_depth; }

    // Of the current start or end tag.
    [[nodiscard]] QByteArrayView qualifiedName() const noexcept { return m_name; }
    [[nodiscard]] QByteArrayView localName() const noexcept { return m_localName; }
    [[nodiscard]] const QString& namespaceUri() const noexcept { return *m_namespaceUri; }
    // Which declaration bound that namespace: the same number for every
    // element under one declaration, a new one for each declaration read,
    // so that a reader can compare a namespace once and not per element.
    [[nodiscard]] std::uint64_t namespaceDeclaration() const noexcept { return m_namespaceDeclaration; }
    // Of the current start tag.
    [[nodiscard]] const std::vector<Attribute>& attributes() const noexcept { return m_attributes; }
    // The value of the attribute of that name without a prefix; nothing
    // when the tag has none.
    [[nodiscard]] std::optional<QString> attribute(QByteArrayView name) const;

    // Whether the texts that follow are decoded (off at first), and whether
    // their line breaks come as CR LF (each LF, each CR and each CR LF of
    // the text becoming one CR LF: the editor's form) rather than as XML
    // gives them. The texts decoded from here on are gathered, one after
    // another, until taken.
    void setTextWanted(bool wanted, bool crLfLineBreaks = false) noexcept;
    // The texts gathered since setTextWanted, given up: a large text is
    // moved, never copied.
    [[nodiscard]] QString takeText() noexcept { return std::exchange(m_text, QString()); }

private:
    struct OpenElement {
        QByteArrayView name;
        std::size_t bindings; // the namespace bindings in force outside it
    };
    struct Binding {
        QByteArrayView prefix; // empty for the default namespace
        QString uri;
        std::uint64_t declaration = 0; // see namespaceDeclaration()
    };

    [[noreturn]] void fail(const QString& reason) const;
    [[noreturn]] void failDisallowed(char32_t c) const;
    [[nodiscard]] bool atEnd() const noexcept { return m_at >= m_size; }
    [[nodiscard]] bool startsWith(QByteArrayView prefix) const noexcept;
    void advance(qsizetype bytes) noexcept;
    void skipWhitespace() noexcept;
    [[nodiscard]] QByteArrayView readName();

    void readXmlDeclaration(bool fromUtf16);
    void skipComment();
    void skipProcessingInstruction();
    void skipDoctype();
    void readStartTag();
    void readEndTag();
    void readText();
    void readCdata();
    void readAttributeValue(Attribute& attribute);
    // A reference after its '&': appends the character it stands for.
    void readReference(QString* out);
    // Checks the UTF-8 sequence at m_at (a byte 0x80 or above) and steps
    // over it; gives the code point.
    char32_t readMultiByte();

    void appendText(QByteArrayView plain);
    void appendCharacter(char32_t c, QString* out);
    void resolveNames();
    [[nodiscard]] const Binding* bindingOf(QByteArrayView prefix) const;

    const char* m_data;
    qsizetype m_size;
    qsizetype m_at = 0;
    int m_line = 1;
    int m_tokenLine = 1;
    int m_depth = 0;

    bool m_seenRoot = false;
    bool m_rootClosed = false;
    bool m_pendingEnd = false; // an empty-element tag's end comes next
    std::vector<OpenElement> m_open;
    std::vector<Binding> m_bindings;

    QByteArrayView m_name;
    QByteArrayView m_localName;
    // The binding's own text: valid until the next token.
    const QString* m_namespaceUri = nullptr;
    std::uint64_t m_namespaceDeclaration = 0;
    std::uint64_t m_declarationsRead = 0;
    std::vector<Attribute> m_attributes;

    bool m_textWanted = false;
    bool m_crLf = false;
    bool m_afterCr = false; // the last character given was a CR (CR LF form)
    QString m_text;
};

} // namespace exchange

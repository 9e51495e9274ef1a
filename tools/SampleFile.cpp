#include "SampleFile.h"

#include "xom/EntryOperations.h"

#include <utility>

namespace cli {

namespace {

xom::XTypeCont type(const char* name, const qint32 instanceCount)
{
    xom::XTypeCont result;
    result.name = name;
    result.kind = xom::kindOfTypeName(result.name);
    result.instanceCount = instanceCount;
    return result;
}

// A file as a load of one without entries leaves the model: the string
// resource type counts none yet, the data bank is there, and the string list
// holds the empty string and the string that every save keeps at index 1.
xom::LanguageModel emptyFileModel()
{
    xom::LanguageModel model;
    model.TypeTable = {
        type("XContainer", 0),
        type("XResourceDetails", 0),
        type("XStringResourceDetails", 0),
        type("XDataBank", 1),
    };
    model.StringResourceType = 2;
    model.StringList.append(QStringLiteral("Ludra Language Editor sample"));
    return model;
}

// The file with these entries added one after another, as Add adds them.
template <std::size_t Count> SampleFile fileOf(const std::pair<const char16_t*, const char16_t*> (&nameTexts)[Count])
{
    SampleFile sample{emptyFileModel(), {}};
    for (const auto& [name, text] : nameTexts)
        xom::addEntry(sample.entries, sample.model, QString::fromUtf16(name), QString::fromUtf16(text));
    return sample;
}

} // namespace

SampleFile makeSampleFile()
{
    // Names in no particular order, so that Sort has something to do; texts
    // with accents, Cyrillic, CJK, an emoji, CSV quoting and line breaks as
    // the editor's text boxes write them (CR LF).
    static const std::pair<const char16_t*, const char16_t*> NameTexts[] = {
        {u"FE.Menu.Start", u"Start"},
        {u"FE.Menu.Options", u"Options"},
        {u"FE.Menu.Quit", u"Quit to desktop"},
        {u"FE.Lobby.Welcome.fr", u"Bienvenue ! Prêt à jouer ?"},
        {u"FE.Lobby.Welcome.de", u"Willkommen! Schöne Grüße aus der Küche."},
        {u"FE.Lobby.Welcome.ru", u"Добро пожаловать! Всё готово."},
        {u"FE.Lobby.Welcome.ja", u"ようこそ！準備はいいですか？"},
        {u"FE.Lobby.Welcome.zh", u"欢迎！准备好了吗？"},
        {u"FE.Award.Trophy", u"Trophy unlocked \U0001F3C6"},
        {u"FE.Help.Controls", u"Move: arrow keys\r\nJump: space\r\nPause: Esc"},
        {u"FE.Help.Quote", u"She said \"ready, steady, go\" and left."},
        {u"FE.Menu.Credits", u"Credits"},
    };
    return fileOf(NameTexts);
}

SampleFile makeSampleTranslation()
{
    static const std::pair<const char16_t*, const char16_t*> NameTexts[] = {
        {u"FE.Menu.Start", u"Spiel starten"},
        {u"FE.Menu.Continue", u"Weiterspielen"},
        {u"FE.Menu.Options", u"Options"},
        {u"FE.Menu.Quit", u"Zurück zum Desktop"},
        {u"FE.Menu.Credits", u"Mitwirkende"},
        {u"FE.Lobby.Welcome.fr", u"Willkommen! Bereit zum Spielen?"},
        {u"FE.Lobby.Welcome.de", u"Herzlich willkommen! Schöne Grüße aus der Küche."},
        {u"FE.Lobby.Welcome.ru", u"Willkommen! Alles ist bereit."},
        {u"FE.Lobby.Welcome.ja", u"Willkommen! Bist du bereit?"},
        {u"FE.Lobby.Welcome.zh", u"Willkommen! Seid ihr bereit?"},
        {u"FE.Award.Trophy", u"Trophäe freigeschaltet \U0001F3C6"},
        {u"FE.Help.Controls", u"Bewegen: Pfeiltasten\r\nSpringen: Leertaste\r\nPause: Esc"},
        {u"FE.Help.Quote", u"Sie sagte \"Achtung, fertig, los\" und ging."},
    };
    return fileOf(NameTexts);
}

} // namespace cli

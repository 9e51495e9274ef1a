#pragma once

#include <QByteArray>

#include <memory>
#include <string>
#include <string_view>

struct UCollator;

namespace text {

// One ICU collator of the run's locale, opened once. Case-insensitive
// comparison is secondary strength (letters that differ only in case are
// equal), case-sensitive comparison tertiary.
class IcuCollator {
public:
    // icuLocale is an ICU locale ID; "" is the root collation. Throws
    // std::runtime_error when ICU cannot open it.
    IcuCollator(const std::string& icuLocale, bool caseSensitive);
    ~IcuCollator();
    IcuCollator(const IcuCollator&) = delete;
    IcuCollator& operator=(const IcuCollator&) = delete;

    // -1, 0 or +1.
    [[nodiscard]] int compare(std::u16string_view a, std::u16string_view b) const;

    // The ICU sort key of text without its terminating zero byte: bytewise
    // order of two keys (a proper prefix being less) is the order of
    // compare, and equal keys are equal texts.
    [[nodiscard]] QByteArray sortKey(std::u16string_view text) const;

private:
    struct CollatorCloser {
        void operator()(UCollator* collator) const noexcept;
    };

    std::unique_ptr<UCollator, CollatorCloser> m_collator;
};

} // namespace text

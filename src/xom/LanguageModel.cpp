#include "xom/LanguageModel.h"

#include "xom/FileLayout.h"

namespace xom {

TypeKind kindOfTypeName(const QByteArray& name)
{
    // Exact, case-sensitive: "XDATABANK" is no data bank.
    if (name == layout::NameStringResource)
        return TypeKind::StringResourceDetails;
    if (name == layout::NameDataBank)
        return TypeKind::DataBank;
    if (name == layout::NameContainer)
        return TypeKind::Container;
    if (name == layout::NameResourceDetails)
        return TypeKind::ResourceDetails;
    return TypeKind::Unknown;
}

void StringListSummary::append(const QString& text)
{
    if (count == 1)
        second = text;
    lastButOne = count >= 2 ? last : QString();
    last = text;
    ++count;
}

} // namespace xom

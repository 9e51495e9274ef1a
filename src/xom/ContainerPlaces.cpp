#include "xom/ContainerPlaces.h"

#include <algorithm>

namespace xom {

ContainerPlaces placeContainers(const LanguageModel& model, qsizetype position, const qsizetype entryCount,
    const qsizetype stringResourceBytes, const qsizetype dataBankBytes)
{
    ContainerPlaces places;
    places.carried.assign(model.carriedContainers.size(), 0);
    const auto placeStringResources = [&] {
        places.stringResources = position;
        position += stringResourceBytes;
        places.containerCount += entryCount;
    };
    const auto placeDataBank = [&] {
        places.dataBank = position;
        position += dataBankBytes;
        places.containerCount += 1;
    };
    const auto placeRun = [&](std::vector<ContainerPlaces::Run>& runs, const qsizetype count, const qsizetype size) {
        if (count <= 0)
            return;
        runs.push_back({position, count});
        position += count * size;
        places.containerCount += count;
    };
    const auto dataBankType = std::find_if(model.TypeTable.begin(), model.TypeTable.end(), [](const XTypeCont& type) {
        return type.kind == TypeKind::DataBank && type.instanceCount > 0;
    }) - model.TypeTable.begin();
    for (std::size_t t = 0; t < model.TypeTable.size(); ++t) {
        const XTypeCont& type = model.TypeTable[t];
        const qsizetype announced = std::max(type.instanceCount, 0);
        if (static_cast<int>(t) == model.StringResourceType) {
            placeStringResources();
            // A count below the entries is no loaded file's: every entry is
            // written all the same.
            placeRun(places.emptyStringResources, announced - entryCount, EmptyStringResourceSize);
        } else if (type.kind == TypeKind::StringResourceDetails) {
            placeRun(places.emptyStringResources, announced, EmptyStringResourceSize);
        } else if (static_cast<std::ptrdiff_t>(t) == dataBankType) {
            if (model.StringResourceType < 0)
                placeStringResources();
            placeDataBank();
        } else if (type.kind != TypeKind::DataBank) {
            qsizetype carried = 0;
            for (std::size_t c = 0; c < model.carriedContainers.size(); ++c) {
                if (model.carriedContainers[c].typeIndex == static_cast<int>(t)) {
                    places.carried[c] = position;
                    position += model.carriedContainers[c].bytes.size();
                    ++carried;
                }
            }
            places.containerCount += carried;
            placeRun(places.emptyContainers, announced - carried, layout::MagicContainer.size());
        }
    }
    if (places.stringResources < 0)
        placeStringResources();
    if (places.dataBank < 0)
        placeDataBank();
    places.end = position;
    return places;
}

} // namespace xom

// The reader's promise for any input.
#include "readdesign_property.h"

#include "model/designfile.h"
#include "model/itemlist.h"

#include <vector>

namespace vlr::test {

namespace {

size_t CountRecords(const ItemList& list) {
    size_t count = 0;
    for (auto it = list.begin(); it != list.end(); ++it) {
        ++count;
    }
    return count;
}

} // namespace

std::string CheckReadDesignPromise(std::span<const uint8_t> bytes) {
    for (PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
        ItemList target;
        CreateRecord(target, ItemKind::Header);
        CreateRecord(target, ItemKind::Gridlines);
        ItemRecord* before = target.first;
        FixedAnswerPrompt prompt(answer);
        ReadResult result = ReadDesignFromMemory(bytes, target, prompt);
        if (!result.ok()) {
            if (target.first != before || CountRecords(target) != 2) {
                return "a failed read changed the target";
            }
            continue;
        }
        if (!FindRecord(target, ItemKind::Header)) {
            return "a design was read without a header";
        }
        // Reading renumbers and normalises; after one save and one more read the saved form is
        // settled and must not change again.
        std::vector<uint8_t> first, second, third;
        if (!WriteDesignToMemory(target, first)) {
            return "a design just read cannot be saved";
        }
        ItemList again;
        if (!ReadDesignFromMemory(first, again, prompt).ok()) {
            return "a saved design does not read back";
        }
        if (!WriteDesignToMemory(again, second)) {
            return "a design read from a saved file cannot be saved";
        }
        ItemList once_more;
        if (!ReadDesignFromMemory(second, once_more, prompt).ok() || !WriteDesignToMemory(once_more, third)) {
            return "a saved design does not read back the second time";
        }
        if (second != third) {
            return "saving a design read from a saved file changes its bytes";
        }
    }
    return {};
}

} // namespace vlr::test

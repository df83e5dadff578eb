#include "framework/cmd_target.h"

const MessageMap& CCmdTarget::ClassMessageMap() {
    static const MessageMap map{nullptr, {}};
    return map;
}

const MessageMapEntry* CCmdTarget::FindEntry(WindowMessage message, int commandId) const {
    for (const MessageMap* map = &GetMessageMap(); map != nullptr; map = map->base) {
        for (const MessageMapEntry& entry : map->entries) {
            if (entry.message == message && entry.commandId == commandId) {
                return &entry;
            }
        }
    }
    return nullptr;
}

bool CCmdTarget::Dispatch(WindowMessage message, int commandId) {
    const MessageMapEntry* entry = FindEntry(message, commandId);
    if (entry == nullptr) {
        return false;
    }
    (this->*(entry->handler))();
    return true;
}

bool CCmdTarget::HasHandler(WindowMessage message, int commandId) const {
    return FindEntry(message, commandId) != nullptr;
}

// Message maps: a window class binds window messages and command ids to member handlers
// without arguments, in a table chained to its base class's table.
#pragma once

#include <span>

enum class WindowMessage { Paint, Command };

class CCmdTarget;
using CommandHandler = void (CCmdTarget::*)();

struct MessageMapEntry {
    WindowMessage message;
    int commandId;  // 0 for messages that are not commands
    CommandHandler handler;
};

struct MessageMap {
    const MessageMap* base;
    std::span<const MessageMapEntry> entries;
};

// Turns a derived class's handler into the table's handler type.
template <class Target>
inline CommandHandler Handler(void (Target::*handler)()) {
    return static_cast<CommandHandler>(handler);
}

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Runs the first handler for the message found from the most derived table down; false if none.
    bool Dispatch(WindowMessage message, int commandId = 0);
    bool HasHandler(WindowMessage message, int commandId = 0) const;

protected:
    static const MessageMap& ClassMessageMap();
    virtual const MessageMap& GetMessageMap() const { return ClassMessageMap(); }

private:
    const MessageMapEntry* FindEntry(WindowMessage message, int commandId) const;
};

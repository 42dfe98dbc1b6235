#pragma once
// Named notifications between screens that are not parent and child.
// Observers are identified by an owner pointer so a screen can drop all of its
// registrations at once when it goes away; an observer may restrict itself to
// one sender. Posting is synchronous, on the caller's (the main) thread.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct UINotification {
    std::string name;
    const void* object = nullptr; // the sender
};

class UINotificationCenter {
public:
    using Handler = std::function<void(const UINotification&)>;

    static UINotificationCenter& defaultCenter();

    // object == nullptr observes the name from every sender.
    void addObserver(const void* observer, const std::string& name, const void* object, Handler handler);
    void removeObserver(const void* observer);
    void removeObserver(const void* observer, const std::string& name);
    void postNotification(const std::string& name, const void* object = nullptr);

    int observerCount(const std::string& name) const;

private:
    struct Entry {
        std::uint64_t id;
        const void* observer;
        std::string name;
        const void* object;
        Handler handler;
    };
    std::vector<Entry> m_vecEntries;
    std::uint64_t m_nNextId = 1;
};

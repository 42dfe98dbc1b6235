#include "ui/UINotificationCenter.h"

#include <algorithm>

UINotificationCenter& UINotificationCenter::defaultCenter()
{
    static UINotificationCenter center;
    return center;
}

void UINotificationCenter::addObserver(const void* observer, const std::string& name, const void* object, Handler handler)
{
    m_vecEntries.push_back(Entry{m_nNextId++, observer, name, object, std::move(handler)});
}

void UINotificationCenter::removeObserver(const void* observer)
{
    std::erase_if(m_vecEntries, [&](const Entry& e) { return e.observer == observer; });
}

void UINotificationCenter::removeObserver(const void* observer, const std::string& name)
{
    std::erase_if(m_vecEntries, [&](const Entry& e) { return e.observer == observer && e.name == name; });
}

void UINotificationCenter::postNotification(const std::string& name, const void* object)
{
    // Handlers may add or remove observers (a screen that closes itself in
    // answer to a notification), so work from the ids taken before the first
    // call and skip any entry that has gone in the meantime.
    std::vector<std::uint64_t> ids;
    for (const Entry& e : m_vecEntries)
        if (e.name == name && (e.object == nullptr || e.object == object))
            ids.push_back(e.id);

    const UINotification notification{name, object};
    for (std::uint64_t id : ids) {
        auto it = std::find_if(m_vecEntries.begin(), m_vecEntries.end(), [id](const Entry& e) { return e.id == id; });
        if (it == m_vecEntries.end())
            continue;
        Handler handler = it->handler; // the entry may be erased while it runs
        handler(notification);
    }
}

int UINotificationCenter::observerCount(const std::string& name) const
{
    return static_cast<int>(std::count_if(m_vecEntries.begin(), m_vecEntries.end(),
                                          [&](const Entry& e) { return e.name == name; }));
}

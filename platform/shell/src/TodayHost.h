// The Today screen's side of its items: loads each enabled item library,
// asks it for its window through ordinal 240, keeps its TODAYLISTITEM, asks
// for heights and lays the windows out one under the other.
#pragma once

#include "platform/shell/include/todaycmn.h"
#include "platform/shell/src/TodayItemList.h"

#include <memory>
#include <vector>

namespace shell {

class TodayHost {
public:
    explicit TodayHost(const wchar_t* itemsKey = TodayItemList::kDefaultKey);
    virtual ~TodayHost();

    // Loads every enabled item of the list, with the screen as their parent.
    // Neither nests: while the items are being loaded, unloaded or asked
    // something, a message that arrives meanwhile (an item's window pumps
    // while it goes) must not free the list or a library under way.
    void Load(HWND screen);
    void Unload();
    // A load was refused so and is still to be made.
    bool LoadRefused() const { return loadRefused_; }
    // True when the registry's list is no longer the one loaded.
    bool ListChanged() const;
    // True when the library of an enabled item that could not be loaded is
    // there now (a program entered itself before its item was installed).
    bool MissingLibraryArrived() const;

    // WM_TODAYCUSTOM_QUERYREFRESHCACHE to every item; true when one of them
    // answered with a new height.
    bool QueryHeights();
    // WM_TODAYCUSTOM_CLEARCACHE to every item.
    void ClearCaches();
    // Places the windows from top down, each in the height it asked for,
    // and clips each to the rows above visibleBottom (the screen's bottom
    // strip stays clear); returns the bottom of the last one.
    int Layout(int top, int visibleBottom);

    size_t Count() const { return items_.size(); }
    const TODAYLISTITEM& Item(size_t index) const { return items_[index]->item; }
    const TodayItemList& List() const { return list_; }

    // Runs an item's options dialog (its dialog 500 with its ordinal 241)
    // modally over owner. False when the item has none or it cannot be run.
    static bool OpenOptions(const TodayItemEntry& entry, HWND owner);

private:
    struct Hosted {
        TODAYLISTITEM item;
        HMODULE library;
    };

    bool LoadOne(const TodayItemEntry& entry, HWND screen);
    void UnloadAll();

    // Counts the walks over the items under way.
    class Busy {
    public:
        explicit Busy(int& count) : count_(count) { ++count_; }
        ~Busy() { --count_; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        int& count_;
    };

    TodayItemList list_;
    std::vector<TodayItemEntry> loadedList_;
    std::vector<std::wstring> missingLibraries_;
    std::vector<std::unique_ptr<Hosted>> items_;
    int busy_ = 0;
    bool loadRefused_ = false;
};

}  // namespace shell

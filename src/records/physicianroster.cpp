#include "physicianroster.h"

#include "settings.h"

namespace ks318 {

PhysicianRoster::PhysicianRoster(PhysicianList& slots) : slots_(slots)
{
    // Names sort as the user reads them: by the locale, upper and lower case alike.
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

bool PhysicianRoster::available() const
{
    return slots_.valid == 1;
}

bool PhysicianRoster::full() const
{
    for (const PhysicianSlot& slot : slots_.entries)
        if (!slot.used)
            return false;
    return true;
}

int PhysicianRoster::insertRow(const QString& name)
{
    // After the names that sort equal, as a sorted list box adds them.
    int row = 0;
    while (row < rowCount() && collator_.compare(rows_.at(row), name) <= 0)
        ++row;
    rows_.insert(row, name);
    return row;
}

void PhysicianRoster::build()
{
    rows_.clear();
    if (!available())
        return;
    for (std::size_t i = 0; i < slots_.entries.size(); ++i) {
        PhysicianSlot& slot = slots_.entries[i];
        if (!slot.used)
            continue;
        const int row = insertRow(slot.displayName.toQString());
        for (std::size_t j = 0; j < i; ++j)
            if (slots_.entries[j].used && slots_.entries[j].listIndex >= row)
                ++slots_.entries[j].listIndex;
        slot.listIndex = row;
    }
}

int PhysicianRoster::slotOfRow(int row) const
{
    if (row < 0)
        return -1;
    for (std::size_t i = 0; i < slots_.entries.size(); ++i)
        if (slots_.entries[i].used && slots_.entries[i].listIndex == row)
            return int(i);
    return -1;
}

PhysicianRoster::Entry PhysicianRoster::entryOfRow(int row) const
{
    const int s = slotOfRow(row);
    if (s < 0)
        return Entry();
    const PhysicianSlot& slot = slots_.entries[std::size_t(s)];
    return Entry{slot.familyName.toQString(), slot.givenName.toQString(), slot.address.toQString(),
                 slot.phone.toQString()};
}

int PhysicianRoster::save(bool isNew, int row, const Entry& entry)
{
    if (!available())
        return -1;
    int s = -1;
    if (isNew) {
        for (std::size_t i = 0; i < slots_.entries.size() && s < 0; ++i)
            if (!slots_.entries[i].used)
                s = int(i);
    } else {
        s = slotOfRow(row);
    }
    if (s < 0)
        return -1;

    PhysicianSlot& slot = slots_.entries[std::size_t(s)];
    slot.used = 1;
    slot.valid = 1;
    slot.familyName.setQString(entry.familyName);
    slot.displayName.assign(slot.familyName.view());
    slot.givenName.setQString(entry.givenName);
    slot.address.setQString(entry.address);
    slot.phone.setQString(entry.phone);

    auto othersUsed = [this, s](auto&& change) {
        for (std::size_t i = 0; i < slots_.entries.size(); ++i)
            if (int(i) != s && slots_.entries[i].used)
                change(slots_.entries[i]);
    };
    if (!isNew) {
        othersUsed([row](PhysicianSlot& other) {
            if (other.listIndex > row)
                --other.listIndex;
        });
        if (row < rowCount())
            rows_.removeAt(row);
    }
    const int n = insertRow(slot.displayName.toQString());
    othersUsed([n](PhysicianSlot& other) {
        if (other.listIndex >= n)
            ++other.listIndex;
    });
    slot.listIndex = n;
    return n;
}

void PhysicianRoster::remove(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    for (PhysicianSlot& slot : slots_.entries)
        if (slot.used && (slot.listIndex == row || slot.listIndex == -1))
            slot.used = 0;
    for (PhysicianSlot& slot : slots_.entries)
        if (slot.used && slot.listIndex > row)
            --slot.listIndex;
    rows_.removeAt(row);
}

void PhysicianRoster::choose(int row)
{
    slots_.selectedPhysician = slotOfRow(row);
}

} // namespace ks318

#pragma once
// The registered physicians as the physician list shows them: the rows of a
// sorted list of family names over the 50 slots of data.m. The two stay in
// step: every used slot's listIndex is the row that shows it.
#include <QCollator>
#include <QString>
#include <QStringList>

namespace ks318 {

struct PhysicianList;

class PhysicianRoster {
public:
    // What the physician entry dialog holds.
    struct Entry {
        QString familyName;
        QString givenName;
        QString address;
        QString phone;
    };

    explicit PhysicianRoster(PhysicianList& slots);

    // Fills the rows from the used slots, slot 0 first, each entering at its
    // sorted row; the slots' listIndex are set to their rows. Nothing is
    // listed when data.m was not read.
    void build();

    const QStringList& rows() const { return rows_; }
    int rowCount() const { return int(rows_.size()); }
    // data.m was read: entries can be stored.
    bool available() const;
    // All 50 slots are in use.
    bool full() const;
    // The used slot shown in `row`; -1 for none.
    int slotOfRow(int row) const;
    Entry entryOfRow(int row) const;

    // Stores `entry` (texts cut to their fields) in the first free slot when
    // `isNew`, else over the slot shown in `row`, and moves it to its sorted
    // row. Returns that row; -1 when nothing was stored (data.m not read,
    // the list full, or no slot shown in `row`).
    int save(bool isNew, int row, const Entry& entry);
    // Frees the slot shown in `row` (and any used slot without a row) and
    // closes the gap.
    void remove(int row);
    // selectedPhysician: the slot shown in `row`, -1 for none.
    void choose(int row);

private:
    int insertRow(const QString& name);

    PhysicianList& slots_;
    QStringList rows_;
    QCollator collator_;
};

} // namespace ks318

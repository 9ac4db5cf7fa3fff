#pragma once
// The physician entry dialog: family name, given name, address and phone
// of one registered physician, new or edited, opened from the physician
// list.
#include <QDialog>

class QPushButton;

namespace ks318 {

class Cp932LineEdit;
class Cp932MemoEdit;
class PhysicianRoster;
struct MessageSink;

class TPhysicianEntryForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kNoNameId = 186;  // "名前を入力して下さい。"

    TPhysicianEntryForm(PhysicianRoster& roster, MessageSink* messages, QWidget* parent = nullptr);

    // Set by the list before showing: a new entry, or the edit of the
    // physician shown in selectedRow.
    bool isNewEntry = true;
    int selectedRow = -1;
    // The row the stored entry shows in after Save; -1 before.
    int savedRow() const { return savedRow_; }

    // Empties the fields for a new entry or fills them from the physician
    // being edited; the family name takes the focus.
    void FormActivate();
    // Refuses an empty family name (message 186); otherwise stores the
    // entry and closes, unless there is no slot to store it in.
    void PhysicianEntrySaveButtonClick();
    void PhysicianEntryCancelButtonClick();

    Cp932LineEdit* FirstNameEdit;   // family name
    Cp932LineEdit* LastNameEdit;    // given name
    Cp932MemoEdit* AddressMemo;
    Cp932LineEdit* PhoneEdit;
    QPushButton* PhysicianEntrySaveButton;
    QPushButton* PhysicianEntryCancelButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    PhysicianRoster& roster_;
    MessageSink* messages_;
    int savedRow_ = -1;
};

} // namespace ks318

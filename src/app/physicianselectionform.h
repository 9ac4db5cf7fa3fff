#pragma once
// The physician list: the registered physicians sorted by family name, with
// New, Edit and Delete, and OK, which picks the selected physician for the
// patient information dialog. Changes stay in memory until data.m is
// written at exit.
#include "records/physicianroster.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace ks318 {

class Session;
class TPhysicianEntryForm;
struct MessageSink;

class TPhysicianSelectionForm : public QDialog {
    Q_OBJECT
public:
    // The list is built from data.m as the session holds it now.
    TPhysicianSelectionForm(Session& session, MessageSink* messages, QWidget* parent = nullptr);

    PhysicianRoster& roster() { return roster_; }

    // Shows the rows; Edit and Delete only with a row to act on.
    void FormPaint();
    // A new entry (nothing happens while all 50 slots are in use).
    void NewPhysicianButtonClick();
    void EditPhysicianButtonClick();
    // Deletes the selected physician at once.
    void DeletePhysicianButtonClick();
    // selectedPhysician = the selected physician (-1 for none); closes with OK.
    void OKPhysicianButtonClick();

    QListWidget* PhysicianListBox;
    QPushButton* NewPhysicianButton;
    QPushButton* EditPhysicianButton;
    QPushButton* DeletePhysicianButton;
    QPushButton* OKPhysicianButton;
    TPhysicianEntryForm* PhysicianEntryForm;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showRows(int selected);
    void runEntry(bool isNew);

    PhysicianRoster roster_;
};

} // namespace ks318

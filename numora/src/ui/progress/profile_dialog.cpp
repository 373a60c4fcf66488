// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_dialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "zelvlib/dialogs.h"

namespace numora {
namespace {

// Items no wider than the list: a name that cannot break (one long word) is
// then elided within the list instead of running out of it.
class ListWidthDelegate final : public QStyledItemDelegate {
 public:
  explicit ListWidthDelegate(QListWidget* list) : QStyledItemDelegate(list), list_(list) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(std::min(size.width(), list_->viewport()->width()));
    return size;
  }

 private:
  QListWidget* list_;
};

}  // namespace

QString QuotedName(const QString& name) {
  // Inside FIRST STRONG ISOLATE ... POP DIRECTIONAL ISOLATE.
  return ProfileDialog::tr("„%1“").arg(QChar(0x2068) + name + QChar(0x2069));
}

ProfileDialog::ProfileDialog(ProgressStore& store, zelv::UserDialogs& dialogs, ProfileId current,
                             QWidget* parent)
    : QDialog(parent), store_(store), dialogs_(dialogs) {
  setWindowTitle(tr("Kind wechseln"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* label = new QLabel(tr("&Wer übt jetzt?"), this);
  Children = new QListWidget(this);
  Children->setAccessibleName(tr("Kinder"));
  Children->setSelectionMode(QAbstractItemView::SingleSelection);
  // A long name breaks onto more lines at blanks and is elided where a word
  // alone is too wide (its whole text then in the tooltip); the list is wide
  // enough for most names at any zoom, its font being the zoomed one.
  Children->setWordWrap(true);
  Children->setTextElideMode(Qt::ElideMiddle);
  Children->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Children->setResizeMode(QListView::Adjust);
  Children->setUniformItemSizes(false);
  Children->setItemDelegate(new ListWidthDelegate(Children));
  Children->setMinimumWidth(Children->fontMetrics().averageCharWidth() * 28);
  label->setBuddy(Children);

  AddButton = new QPushButton(tr("&Neues Kind …"), this);
  RenameButton = new QPushButton(tr("&Umbenennen …"), this);
  DeleteButton = new QPushButton(tr("&Löschen …"), this);
  for (QPushButton* button : {AddButton, RenameButton, DeleteButton}) button->setAutoDefault(false);
  connect(AddButton, &QPushButton::clicked, this, &ProfileDialog::AddChild);
  connect(RenameButton, &QPushButton::clicked, this, &ProfileDialog::RenameChild);
  connect(DeleteButton, &QPushButton::clicked, this, &ProfileDialog::DeleteChild);

  // The keys of file managers and lists: Insert adds, F2 renames, Delete
  // deletes the selected child.
  const auto addKey = [this](QKeySequence key, void (ProfileDialog::*command)()) {
    auto* action = new QAction(Children);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, command);
    Children->addAction(action);
  };
  addKey(QKeySequence(Qt::Key_Insert), &ProfileDialog::AddChild);
  addKey(QKeySequence(Qt::Key_F2), &ProfileDialog::RenameChild);
  addKey(QKeySequence(Qt::Key_Delete), &ProfileDialog::DeleteChild);

  auto* box = new QDialogButtonBox(this);
  OkButton = box->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
  box->addButton(tr("Abbrechen"), QDialogButtonBox::RejectRole);
  OkButton->setDefault(true);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(Children, &QListWidget::itemActivated, this, [this] {
    if (Selected()) accept();
  });
  connect(Children, &QListWidget::currentRowChanged, this, &ProfileDialog::UpdateButtons);

  auto* layout = new QGridLayout(this);
  layout->addWidget(label, 0, 0);
  layout->addWidget(Children, 1, 0, 4, 1);
  layout->addWidget(AddButton, 1, 1);
  layout->addWidget(RenameButton, 2, 1);
  layout->addWidget(DeleteButton, 3, 1);
  layout->setRowStretch(4, 1);
  layout->addWidget(box, 5, 0, 1, 2);

  Reload(current);
  Children->setFocus();
}

std::optional<ProfileId> ProfileDialog::Selected() const {
  const QListWidgetItem* item = Children->currentItem();
  if (!item) return std::nullopt;
  return item->data(Qt::UserRole).toLongLong();
}

void ProfileDialog::Select(ProfileId profile) {
  for (int row = 0; row < Children->count(); ++row) {
    if (Children->item(row)->data(Qt::UserRole).toLongLong() == profile) {
      Children->setCurrentRow(row);
      return;
    }
  }
}

void ProfileDialog::Reload(std::optional<ProfileId> select) {
  Children->clear();
  for (const ProfileInfo& profile : store_.Profiles().ValueOr({})) {
    auto* item = new QListWidgetItem(profile.Name, Children);
    item->setData(Qt::UserRole, static_cast<qlonglong>(profile.Id));
    item->setToolTip(profile.Name);
  }
  if (select) Select(*select);
  if (!Children->currentItem() && Children->count() > 0) Children->setCurrentRow(0);
  UpdateButtons();
}

void ProfileDialog::UpdateButtons() {
  const bool selected = Selected().has_value();
  RenameButton->setEnabled(selected);
  // The last child stays: someone is always practising.
  DeleteButton->setEnabled(selected && Children->count() > 1);
  OkButton->setEnabled(selected);
}

void ProfileDialog::Tell(const QString& caption, const QString& text) {
  dialogs_.Message(this, caption, text, zelv::DialogIcon::Information, {zelv::DialogButton::Ok});
}

std::optional<QString> ProfileDialog::AskName(const QString& caption, const QString& preset,
                                              std::optional<ProfileId> renamed) {
  QString value = preset;
  while (dialogs_.InputQuery(this, caption, tr("Name des Kindes:"), value, kProfileNameMax)) {
    const QString name = CleanProfileName(value);
    if (name.isEmpty()) {
      Tell(caption, tr("Bitte gib einen Namen ein."));
      continue;
    }
    // "ben" beside "Ben" would be two children that nobody tells apart.
    bool taken = false;
    for (const ProfileInfo& profile : store_.Profiles().ValueOr({})) {
      taken =
          taken || (profile.Name.compare(name, Qt::CaseInsensitive) == 0 && profile.Id != renamed);
    }
    if (!taken) return name;
    Tell(caption, tr("Es gibt schon ein Kind mit dem Namen %1. Bitte wähle einen anderen Namen.")
                      .arg(QuotedName(name)));
  }
  return std::nullopt;
}

void ProfileDialog::AddChild() {
  const QString caption = tr("Neues Kind");
  const std::optional<QString> name = AskName(caption, QString(), std::nullopt);
  if (!name) return;
  const std::optional<ProfileId> added = store_.AddProfile(*name);
  if (!added) {
    Tell(caption, tr("%1 konnte nicht angelegt werden.").arg(QuotedName(*name)));
    return;
  }
  Reload(*added);
}

void ProfileDialog::RenameChild() {
  const std::optional<ProfileId> profile = Selected();
  if (!profile) return;
  const QString caption = tr("Kind umbenennen");
  const QString old = Children->currentItem()->text();
  const std::optional<QString> name = AskName(caption, old, *profile);
  if (!name || *name == old) return;
  if (!store_.RenameProfile(*profile, *name)) {
    Tell(caption, tr("%1 konnte nicht umbenannt werden.").arg(QuotedName(old)));
  }
  Reload(*profile);
}

void ProfileDialog::DeleteChild() {
  const std::optional<ProfileId> profile = Selected();
  if (!profile || Children->count() < 2) return;
  const QString name = Children->currentItem()->text();
  const std::vector<StoredRound> rounds =
      store_.Rounds(*profile, 0, std::numeric_limits<StoreTime>::max()).ValueOr({});
  long long solved = 0;
  long long played = 0;  // rounds with at least one answer
  for (const StoredRound& round : rounds) {
    solved += round.Counts.Solved;
    if (round.Counts.Solved + round.Counts.Errors > 0) ++played;
  }
  const QString roundsText = played == 1 ? tr("1 Runde") : tr("%1 Runden").arg(played);
  const QString solvedText =
      solved == 1 ? tr("1 gelösten Aufgabe") : tr("%1 gelösten Aufgaben").arg(solved);
  const QString caption = tr("Kind löschen");
  const QString question =
      rounds.empty()
          ? tr("Soll %1 gelöscht werden?\n\nFür dieses Kind ist noch nichts gespeichert.")
                .arg(QuotedName(name))
          : tr("Soll %1 gelöscht werden?\n\nDamit geht alles verloren, was für dieses Kind "
               "gespeichert ist: %2 mit %3. Das lässt sich nicht rückgängig machen.")
                .arg(QuotedName(name), roundsText, solvedText);
  if (dialogs_.Message(this, caption, question, zelv::DialogIcon::Warning,
                       {zelv::DialogButton::No, zelv::DialogButton::Yes}) !=
      zelv::DialogButton::Yes) {
    return;
  }
  if (!store_.DeleteProfile(*profile)) {
    Tell(caption, tr("%1 konnte nicht gelöscht werden.").arg(QuotedName(name)));
  }
  const int row = Children->currentRow();
  Reload(std::nullopt);
  Children->setCurrentRow(std::min(row, Children->count() - 1));
}

}  // namespace numora

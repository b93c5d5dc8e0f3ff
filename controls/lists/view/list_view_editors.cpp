// The in-place editors of the list view: text boxes, editable combos and drop-down lists on the
// current row, their placement, the cells they write and the key events they report.
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

#include "controls/lists/time_entry.h"
#include "controls/lists/view/uc_list_view.h"
#include "controls/lists/view/virtual_key_codes.h"
#include "foundation/error_traps.h"
#include "foundation/view/combo_selection.h"

namespace lists {

namespace {

constexpr char kKindProperty[] = "listEditorKind";
constexpr char kIndexProperty[] = "listEditorIndex";

QLineEdit* MakeTextEditor(QWidget* parent) {
  auto* editor = new QLineEdit(parent);
  editor->setFrame(false);
  return editor;
}

QComboBox* MakeComboEditor(QWidget* parent, bool editable) {
  auto* box = new QComboBox(parent);
  box->setEditable(editable);
  return box;
}

QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

foundation::WidgetControlArray& UC_ListView::EditorArray(EditorKind kind) {
  return *editors_[kind];
}

QWidget* UC_ListView::Editor(EditorKind kind, int32_t index) const {
  return editors_[kind] ? editors_[kind]->widget(index) : nullptr;
}

QLineEdit* UC_ListView::TextLV(int32_t index) const {
  return qobject_cast<QLineEdit*>(Editor(kText, index));
}

QComboBox* UC_ListView::ComboLV(int32_t index) const {
  return qobject_cast<QComboBox*>(Editor(kCombo, index));
}

QComboBox* UC_ListView::ListLV(int32_t index) const {
  return qobject_cast<QComboBox*>(Editor(kList, index));
}

int32_t UC_ListView::EditorIndexOf(int32_t column, EditorKind kind) const {
  const ListColumn* c = model_->Columns().Column(column);
  if (c == nullptr) return -1;
  const int32_t indexes[3] = {c->TextIndex, c->ComboIndexOfTab, c->ListIndexOfTab};
  return indexes[kind];
}

void UC_ListView::MakeEditors() {
  QWidget* first[3] = {MakeTextEditor(pictureList_), MakeComboEditor(pictureList_, true),
                       MakeComboEditor(pictureList_, false)};
  const foundation::WidgetControlArray::Factory factories[3] = {
      [](QWidget& model) -> QWidget* { return MakeTextEditor(model.parentWidget()); },
      [](QWidget& model) -> QWidget* { return MakeComboEditor(model.parentWidget(), true); },
      [](QWidget& model) -> QWidget* { return MakeComboEditor(model.parentWidget(), false); }};
  for (EditorKind kind : {kText, kCombo, kList}) {
    first[kind]->hide();
    editors_[kind] =
        std::make_unique<foundation::WidgetControlArray>(*first[kind], factories[kind]);
    WireEditor(kind, 0);
  }
}

void UC_ListView::WireEditor(EditorKind kind, int32_t index) {
  QWidget* editor = Editor(kind, index);
  if (editor == nullptr) return;
  editor->setProperty(kKindProperty, static_cast<int>(kind));
  editor->setProperty(kIndexProperty, index);
  if (kind == kText) {
    // Only what the user types is stored: a text the list puts into the editor itself comes
    // from the cell and must not be written back into it.
    connect(qobject_cast<QLineEdit*>(editor), &QLineEdit::textEdited, this, [this, index] {
      foundation::RunTrapped("UC_ListView.TextLV_Change", [&] { TextLV_Change(index); });
    });
    editor->installEventFilter(this);
    return;
  }
  auto* box = qobject_cast<QComboBox*>(editor);
  // activated: the user's choices only, never a selection made by code.
  connect(box, &QComboBox::activated, this, [this, kind, index] {
    foundation::RunTrapped("UC_ListView.ComboLV_Click", [&] { ComboClicked(kind, index); });
  });
  if (kind == kCombo) {
    editor->installEventFilter(this);
    if (box->lineEdit() != nullptr) box->lineEdit()->installEventFilter(this);
  }
}

void UC_ListView::EditorHeights() {
  for (EditorKind kind : {kText, kCombo, kList}) {
    for (int32_t i = 0; QWidget* editor = Editor(kind, i); ++i) {
      editor->resize(editor->width(), editor->sizeHint().height());
    }
  }
}

void UC_ListView::HideAllEditors() {
  for (EditorKind kind : {kText, kCombo, kList}) {
    for (int32_t i = 0; QWidget* editor = Editor(kind, i); ++i) {
      if (!editor->isHidden()) editor->hide();
    }
  }
}

void UC_ListView::PlaceEditorsAcross(const ListColumn& column, double x0) {
  const double px = pictureList_->Surface().TwipsPerPixel();
  for (EditorKind kind : {kText, kCombo, kList}) {
    if ((column.UseTextCombo & (1 << kind)) == 0) continue;
    const int32_t indexes[3] = {column.TextIndex, column.ComboIndexOfTab, column.ListIndexOfTab};
    foundation::LayoutControl* editor = EditorArray(kind).Element(indexes[kind]);
    if (editor == nullptr) continue;
    const double inset = (kind == kText ? 3 : 2) * px;
    editor->SetLeft(x0 + inset);
    editor->SetWidth(std::max(column.TabWidth - inset, px));
  }
}

void UC_ListView::PlaceEditorsOnRow(int32_t column, double editorY, const std::string& text) {
  const ListColumn* c = model_->Columns().Column(column);
  if (c == nullptr) return;
  const int32_t tpp = std::max(pictureList_->Surface().TwipsPerPixel(), 1);
  const QString wanted = ToQString(text);
  for (EditorKind kind : {kText, kCombo, kList}) {
    if ((c->UseTextCombo & (1 << kind)) == 0) continue;
    QWidget* editor = Editor(kind, EditorIndexOf(column, kind));
    if (editor == nullptr) continue;
    if (c->FrontObj != (1 << kind) || c->TabHidden != 0) {
      if (!editor->isHidden()) editor->hide();
      continue;
    }
    const int top = static_cast<int>(std::nearbyint(editorY / tpp));
    if (editor->y() != top) editor->move(editor->x(), top);
    if (kind == kText) {
      auto* line = qobject_cast<QLineEdit*>(editor);
      if (line->text() != wanted) line->setText(wanted);
    } else {
      auto* box = qobject_cast<QComboBox*>(editor);
      if (box->currentText() != wanted) {
        if (kind == kCombo) {
          box->setEditText(wanted);
        } else {
          foundation::SelectComboItemByText(*box, text);
        }
      }
    }
    if (editor->isHidden() && hideTextCombo_ == 0) editor->show();
  }
}

void UC_ListView::TextLV_Change(int32_t index) {
  const ListColumns& columns = model_->Columns();
  for (int32_t k = 0; k < columns.Count(); ++k) {
    const ListColumn& c = *columns.Column(k);
    if ((c.UseTextCombo & kEditorText) == 0 || c.TextIndex != index) continue;
    QLineEdit* editor = TextLV(index);
    if (editor == nullptr || model_->CurrentRow() < 0) return;
    std::string text = editor->text().toStdString();
    if (c.TextIsTime != 0) {
      if (const auto time = TimeFromSixDigits(text)) {
        text = *time;
        editor->setText(ToQString(text));
      }
    }
    model_->SetValue(-1, k, text);
    return;
  }
}

void UC_ListView::ComboClicked(EditorKind kind, int32_t index) {
  QComboBox* box = kind == kCombo ? ComboLV(index) : ListLV(index);
  if (box == nullptr) return;
  const int32_t bit = kind == kCombo ? kEditorCombo : kEditorList;
  const ListColumns& columns = model_->Columns();
  for (int32_t k = 0; k < columns.Count(); ++k) {
    const ListColumn& c = *columns.Column(k);
    if ((c.UseTextCombo & bit) == 0 || EditorIndexOf(k, kind) != index) continue;
    // The editors write only into the current row; without one nothing is stored or raised.
    if (model_->CurrentRow() < 0) continue;
    model_->SetValue(-1, k, box->currentText().toStdString());
    emit ComboChaged(k, box->currentIndex());
  }
}

bool UC_ListView::EditorKey(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  QObject* owner = watched;
  if (!owner->property(kKindProperty).isValid() && owner->parent() != nullptr) {
    owner = owner->parent();  // the line edit inside a combo editor
  }
  const QVariant kindValue = owner->property(kKindProperty);
  if (!kindValue.isValid()) return false;
  const auto kind = static_cast<EditorKind>(kindValue.toInt());
  const int32_t index = owner->property(kIndexProperty).toInt();
  if (kind == kList) return false;
  const ListColumns& columns = model_->Columns();
  int32_t column = -1;
  for (int32_t k = 0; k < columns.Count() && column < 0; ++k) {
    const ListColumn& c = *columns.Column(k);
    if (kind == kText && (c.UseTextCombo & kEditorText) != 0 && c.TextIndex == index) column = k;
    if (kind == kCombo && (c.UseTextCombo & kEditorCombo) != 0 && c.ComboIndexOfTab == index) {
      column = k;
    }
  }
  if (column < 0) return false;
  const int32_t isCombo = kind == kCombo ? 1 : 0;
  auto* key = static_cast<QKeyEvent*>(event);
  int16_t code = VirtualKeyCode(key->key());
  int16_t shift = static_cast<int16_t>(platform::ShiftCode(key->modifiers()));
  if (event->type() == QEvent::KeyRelease) {
    emit TextComboKeyAction(isCombo, column, 0, &code, &shift);
    return code == 0;
  }
  emit TextComboKeyAction(isCombo, column, 1, &code, &shift);
  if (code == 0) return true;
  const QString text = key->text();
  if (text.isEmpty()) return false;
  const int16_t typed = static_cast<int16_t>(text.at(0).unicode());
  int16_t character = typed;
  int16_t noShift = 0;
  emit TextComboKeyAction(isCombo, column, 2, &character, &noShift);
  if (character == 0) return true;
  if (character == typed) return false;
  // The host put another character in its place: that one is typed instead.
  QLineEdit* line = kind == kText ? TextLV(index) : ComboLV(index)->lineEdit();
  if (line != nullptr) line->insert(QString(QChar(static_cast<char16_t>(character))));
  return true;
}

int32_t UC_ListView::ComboIndex(int32_t pIndex, int32_t pData) const {
  const ListColumn* c = model_->Columns().Column(pData);
  if (c == nullptr || (c->UseTextCombo & kEditorCombo) == 0) return -1;
  if (!model_->RowOf(pIndex)) return -1;
  const QComboBox* box = ComboLV(c->ComboIndexOfTab);
  if (box == nullptr || box->count() < 1) return -1;
  const QString text = ToQString(model_->Value(pIndex, pData).Text());
  for (int i = 0; i < box->count(); ++i) {
    if (box->itemText(i) == text) return i;
  }
  return -1;
}

void UC_ListView::AddComboItem(int32_t pData, const std::string& text) {
  if (QComboBox* box = ComboLV(EditorIndexOf(pData, kCombo))) box->addItem(ToQString(text));
}

void UC_ListView::AddListItem(int32_t pData, const std::string& text) {
  if (QComboBox* box = ListLV(EditorIndexOf(pData, kList))) box->addItem(ToQString(text));
}

void UC_ListView::ClearComboItem(int32_t pData) {
  if (QComboBox* box = ComboLV(EditorIndexOf(pData, kCombo))) box->clear();
}

void UC_ListView::ClearListItem(int32_t pData) {
  if (QComboBox* box = ListLV(EditorIndexOf(pData, kList))) box->clear();
}

}  // namespace lists

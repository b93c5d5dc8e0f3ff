#include "platform/view/qt_dialog_service.h"

#include <QAbstractButton>
#include <QColor>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QPushButton>
#include <QShowEvent>
#include <QStringList>
#include <QWidget>

namespace platform {

namespace {

// The property that carries a button's answer code.
constexpr const char kAnswerProperty[] = "dialogAnswer";

QWidget* OwnerWidget(OwnerWindow owner) { return static_cast<QWidget*>(owner); }

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

QColor ColorOf(uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

uint32_t BgrOf(const QColor& color) {
  return static_cast<uint32_t>(color.red()) | (static_cast<uint32_t>(color.green()) << 8) |
         (static_cast<uint32_t>(color.blue()) << 16);
}

QMessageBox::StandardButton StandardButtonOf(int32_t answer) {
  switch (answer) {
    case kIdCancel:
      return QMessageBox::Cancel;
    case kIdAbort:
      return QMessageBox::Abort;
    case kIdRetry:
      return QMessageBox::Retry;
    case kIdIgnore:
      return QMessageBox::Ignore;
    case kIdYes:
      return QMessageBox::Yes;
    case kIdNo:
      return QMessageBox::No;
    default:
      return QMessageBox::Ok;
  }
}

QMessageBox::Icon IconOf(uint32_t style) {
  switch (style & kMbIconMask) {
    case kMbIconStop:
      return QMessageBox::Critical;
    case kMbIconQuestion:
      return QMessageBox::Question;
    case kMbIconExclamation:
      return QMessageBox::Warning;
    case kMbIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// A message box that puts itself on a given centre whenever it is shown, once its size is known.
class CentredMessageBox final : public QMessageBox {
 public:
  explicit CentredMessageBox(QWidget* parent, std::optional<BoxCentre> centre)
      : QMessageBox(parent), centre_(centre) {}

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    if (!centre_) return;
    const QSize size = frameGeometry().size();
    const BoxPosition place = PlaceBoxOnCentre(*centre_, size.width(), size.height());
    move(place.x, place.y);
  }

 private:
  std::optional<BoxCentre> centre_;
};

}  // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(const MessageBoxRequest& request) {
  auto box = std::make_unique<CentredMessageBox>(OwnerWidget(request.owner), request.centre);
  box->setWindowTitle(Text(request.title));
  box->setText(Text(request.prompt));
  box->setIcon(IconOf(request.style));
  const int32_t defaultAnswer = MessageBoxDefaultAnswer(request.style);
  const int32_t escapeAnswer = MessageBoxEscapeAnswer(request.style);
  for (int32_t answer : MessageBoxButtons(request.style)) {
    QPushButton* button = box->addButton(StandardButtonOf(answer));
    button->setProperty(kAnswerProperty, answer);
    if (answer == defaultAnswer) box->setDefaultButton(button);
    if (answer == escapeAnswer) box->setEscapeButton(button);
  }
  return box;
}

int32_t AnswerOfButton(const QAbstractButton* button) {
  if (button == nullptr) return 0;
  bool ok = false;
  const int answer = button->property(kAnswerProperty).toInt(&ok);
  return ok ? answer : 0;
}

QString NameFilterOf(const FileFilter& filter) {
  QStringList patterns = Text(filter.patterns).split(u';', Qt::SkipEmptyParts);
  for (QString& pattern : patterns) pattern = pattern.trimmed();
  return Text(filter.description) + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

int32_t QtDialogService::ShowMessageBox(const MessageBoxRequest& request) {
  std::unique_ptr<QMessageBox> box = BuildMessageBox(request);
  box->exec();
  const int32_t answer = AnswerOfButton(box->clickedButton());
  return answer != 0 ? answer : MessageBoxEscapeAnswer(request.style);
}

std::optional<std::string> QtDialogService::PickFolder(const FolderRequest& request) {
  const QString chosen =
      QFileDialog::getExistingDirectory(OwnerWidget(request.owner), Text(request.title),
                                        Text(request.startFolder), QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

std::optional<std::string> QtDialogService::PickFile(const FileDialogRequest& request) {
  QFileDialog dialog(OwnerWidget(request.owner));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (!request.save && (request.flags & kOfnFileMustExist) != 0) {
    dialog.setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog.setFileMode(QFileDialog::AnyFile);
  }
  if (request.save && (request.flags & kOfnOverwritePrompt) == 0) {
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  }
  if (!request.startFolder.empty()) dialog.setDirectory(Text(request.startFolder));
  if (!request.filters.empty()) {
    QStringList names;
    for (const FileFilter& filter : request.filters) names << NameFilterOf(filter);
    dialog.setNameFilters(names);
    dialog.selectNameFilter(names.front());
  }
  if (!request.fileName.empty()) dialog.selectFile(Text(request.fileName));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
  return files.front().toStdString();
}

std::optional<uint32_t> QtDialogService::PickColour(const ColourRequest& request) {
  // The toolkit keeps one set of custom colours per process; each request brings its own.
  for (int i = 0; i < static_cast<int>(request.customColours.size()); ++i) {
    QColorDialog::setCustomColor(i, ColorOf(request.customColours[static_cast<size_t>(i)]));
  }
  QColorDialog dialog(ColorOf(request.initial), OwnerWidget(request.owner));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QColor chosen = dialog.selectedColor();
  if (!chosen.isValid()) return std::nullopt;
  return BgrOf(chosen);
}

std::optional<std::string> QtDialogService::AskText(const InputRequest& request) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(OwnerWidget(request.owner), Text(request.title), Text(request.prompt),
                            QLineEdit::Normal, Text(request.defaultText), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

}  // namespace platform

#include "audio/view/wave_error_box.h"

#include <QMessageBox>
#include <QPointer>
#include <QString>

#include "audio/wave_error.h"

namespace audio {

void InstallWaveErrorBox(QWidget* owner) {
  QPointer<QWidget> parent(owner);
  SetWaveErrorNotifier([parent](const std::string& text, const std::string& title) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, QString::fromStdString(title),
                                QString::fromStdString(text), QMessageBox::Ok, parent.data());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
  });
}

}  // namespace audio

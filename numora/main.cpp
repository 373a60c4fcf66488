// Numora, the mental-arithmetic trainer: the start-up step, then the four
// windows in their fixed order, then the event loop until the main window
// closes.
#include <QApplication>

#include "history_window.h"
#include "main_window.h"
#include "program_identity.h"
#include "zelvlib/dialogs.h"
#include "zelvlib/startup.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  zelv::RunStartupStep();
  QApplication::setWindowIcon(numora::ProgramIcon());

  zelv::QtUserDialogs dialogs;
  numora::TForm1 form1(dialogs);
  numora::TForm3 form3(&form1);
  QObject::connect(&form1, &numora::TForm1::HistoryRequested, &form3, &numora::TForm3::ShowHistory);

  form1.show();
  return QApplication::exec();
}

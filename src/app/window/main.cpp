// tarvik-export [PATH]: the export window. PATH is where the transfer file is written
// ("ProvaExport.txt" in the current folder when it is missing).
#include <QApplication>
#include <string>

#include "app/command_line.h"
#include "app/window/export_program.h"

int main(int argc, char** argv) {
  // The command line is taken whole, before Qt removes the options it knows.
  const std::string command_line = tarvik::app::CommandLineText(argc, argv);
  QApplication application(argc, argv);
  tarvik::app::window::ExportProgram program(command_line);
  program.form().show();
  return QApplication::exec();
}

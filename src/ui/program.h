#pragma once

#include <functional>
#include <memory>
#include <string>

#include "library/ini_file.h"
#include "library/user_folders.h"
#include "shell/registry.h"
#include "shell/shell_operations.h"
#include "ui/widgets.h"

namespace trelik {

class TForm1;
class TForm2;
class Tabout;

// The process-wide state that every window reads, and the system services they act through.
struct Program {
  // Supplied by the platform's program entry.
  Application& application;
  ShellOperations& shell;
  // Opens the file-type registry for one registration or removal. Each opens its own, so
  // that what another copy of the program registered meanwhile is seen and kept.
  std::function<std::shared_ptr<Registry>()> openRegistry;
  std::string executablePath;
  std::string launcherPath;  // the first argument; empty without one
  // Started for the template editor alone: the editor is then the main window, and the name
  // window stays hidden.
  bool editorOnly = false;
  // Offers the folder action where the platform keeps it outside the desktop's files (Explorer's
  // verb), when the editor is shown; may be empty.
  std::function<void()> offerFolderAction;
  // A folder to make a template of once the editor is shown (as absolute path); emptied then.
  std::string templateFolder;
  std::string dataFolder;  // where the store, list and settings live; ends in a separator
  std::string helpFile;    // what the help action opens
  // The user's folders that are never copied whole, asked for only when a template is added.
  std::function<UserFolders()> userFolders = CurrentUserFolders;

  // Set by the main window's creation handler.
  std::string ProjectName;
  std::string AppDir;
  std::unique_ptr<TIniFile> Settings;

  // The main window, made at start-up, and the editor and the about window, made at their first
  // use.
  TForm1* Form1 = nullptr;
  std::function<TForm2&()> Form2;
  std::function<Tabout&()> about;
};

}  // namespace trelik

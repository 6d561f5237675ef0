#include "app/unregister_all.h"

#include "common/error.h"
#include "common/notice.h"
#include "library/template_list.h"

namespace trelik {

RemovalReport UnregisterAll(const std::function<std::shared_ptr<Registry>()>& openRegistry,
                            ShellOperations& shell, const std::string& listPath,
                            const std::string& executablePath, const ExecutableNaming& naming) {
  RemovalReport report;
  // A list that cannot be read only loses its names: the registry still shows every type.
  std::vector<std::string> listed;
  try {
    static_cast<void>(LoadTemplateListIfAny(listPath, listed));
  } catch (const Error& error) {
    report.failures.push_back(std::string("The template list was not read: ") + error.what());
  }
  try {
    const auto registry = openRegistry();
    const RegistrationContext context{*registry, executablePath,
                                      [&shell] { shell.NotifyAssociationsChanged(); }};
    const FileTypeRemoval removal = UnregisterAllFileTypes(context, listed, naming);
    for (const auto& key : removal.foreign) report.leftAlone.push_back("File type entry " + key);
    for (const auto& key : removal.removed) report.removed.push_back("file type entry " + key);
    for (const auto& key : removal.leftBehind) {
      std::string failure = "The file type entry " + key + " could not be removed";
      if (!removal.failure.empty()) failure.append(": ").append(removal.failure);
      report.failures.push_back(failure);
    }
  } catch (const Error& error) {
    report.failures.push_back(std::string("The file types could not be read: ") + error.what());
  }
  return report;
}

TextReply FormatRemovalReport(const RemovalReport& report) {
  TextReply reply;
  for (const auto& item : report.removed) reply.standardOutput.append("Removed " + item + "\n");
  for (const auto& path : report.leftAlone) {
    reply.standardOutput.append(path + ": not Trelik's, left alone\n");
  }
  if (report.removed.empty() && report.failures.empty() && report.leftAlone.empty()) {
    reply.standardOutput = "Nothing of Trelik's was registered.\n";
  }
  for (const auto& failure : report.failures) {
    reply.standardError.append("trelik: " + failure + "\n");
  }
  if (!report.failures.empty()) reply.exitCode = 1;
  return reply;
}

std::string RemovalNotice(const RemovalReport& report, const std::string& dataFolder) {
  const std::size_t count = report.removed.size();
  std::string text;
  if (count > 0) {
    text = "Trelik's file types and New-menu entries were removed from this desktop (" +
           std::to_string(count) + (count == 1 ? " item)." : " items).");
  } else if (report.failures.empty()) {
    text = "Nothing of Trelik's was registered on this desktop.";
  } else {
    text = "Trelik could not be removed from this desktop.";
  }
  for (const auto& failure : report.failures) text.append("\n").append(failure).append(".");
  for (const auto& entry : report.leftAlone) {
    text.append("\n").append(entry).append(": not Trelik's, left alone.");
  }
  const std::string next = report.failures.empty()
                               ? "Trelik can now be uninstalled; your templates and settings "
                                 "stay in "
                               : "Mend the cause and remove it again; your templates and "
                                 "settings stay in ";
  return WithNextStep(text, next + dataFolder + ".");
}

}  // namespace trelik

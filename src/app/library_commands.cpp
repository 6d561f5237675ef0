#include "app/library_commands.h"

#include <algorithm>
#include <vector>

#include "common/error.h"
#include "common/letter_case.h"
#include "common/path_parts.h"
#include "creation/script_commands.h"
#include "library/file_access.h"
#include "library/user_folders.h"
#include "templates/template_library.h"

namespace trelik {
namespace {

constexpr int kFailed = 1;

TemplateLibrary LibraryOf(const LibraryServices& services) {
  return {services.libraryFolder, services.settings, services.shell, services.openRegistry,
          services.executablePath};
}

TextReply Failure(const std::string& text) {
  return {.standardError = "trelik: " + text + "\n", .exitCode = kFailed};
}

}  // namespace

TextReply AddFromScript(const ProgramOptions& options, const LibraryServices& services) {
  TemplateLibrary library = LibraryOf(services);
  const std::string folder =
      WithoutTrailingSeparators(AbsolutePath(options.folder), PlatformSeparators());
  try {
    const std::vector<std::string> listed = library.ReadList();
    const auto isListed = [&listed](const std::string& name) {
      return std::ranges::any_of(
          listed, [&name](const auto& entry) { return EqualIgnoringCase(entry, name); });
    };
    if (const auto refusal =
            library.AddRefusal(folder, CurrentUserFolders(), isListed, options.templateName)) {
      return Failure(*refusal);
    }
    const TemplateLibrary::Recorded recorded{
        .mainFile = options.mainFile, .autoOpen = options.autoOpen, .fill = options.fill};
    // The editor asks whether to use a folder of that name left in the store; a script is not
    // asked, and copies nothing over it.
    if (library.StoredFolderQuestion(folder, options.templateName)) {
      return Failure(library.TakenMessage(TemplateLibrary::NameFor(folder, options.templateName)));
    }
    const auto added = library.Add(nullptr, folder, options.templateName, recorded);
    if (!added.name)
      return Failure(added.failure.empty() ? "the copy was cancelled" : added.failure);
    return {.standardOutput = *added.name + "\n"};
  } catch (const Error& error) {
    return Failure(error.what());
  }
}

TextReply RemoveFromScript(const ProgramOptions& options, const LibraryServices& services) {
  TemplateLibrary library = LibraryOf(services);
  try {
    const std::vector<std::string> listed = library.ReadList();
    if (std::ranges::find(listed, options.templateName) == listed.end()) {
      return UnknownTemplate(options.templateName, listed);
    }
    library.Remove(options.templateName, options.deleteFolder);
  } catch (const Error& error) {
    return Failure(error.what());
  }
  return {};
}

TextReply RegisterFromScript(const LibraryServices& services) {
  TemplateLibrary library = LibraryOf(services);
  TextReply reply;
  // Nothing registered for a library that is away is taken away.
  if (const auto missing = library.MissingNotice()) return Failure(*missing);
  try {
    library.RegisterListed(library.ReadList(), [&reply](const std::string& notice) {
      reply.standardError += "trelik: " + notice + "\n";
    });
  } catch (const Error& error) {
    return Failure(error.what());
  }
  return reply;
}

}  // namespace trelik

#include "creation/creation_plan.h"

#include <gtest/gtest.h>

#include <set>

namespace trelik {
namespace {

struct PlanCase {
  std::string typed;
  std::string mainFile;  // as recorded for the template "Web"
  bool script;           // all or nothing
  bool windows;          // whose file name rules apply
  std::string folder;    // the name the copy is to arrive under; empty: nothing is made
  std::string opened;    // the main file opened afterwards; empty: none
  std::string said;      // the start of the first thing said; empty: nothing
  std::string hint;      // what the window says Create will make; empty: not checked here
};

// The first thing the user is told, whether before or after the copy.
std::string FirstSaid(const CreationPlan& plan) {
  if (!plan.notices.empty()) return plan.notices.front();
  if (plan.refusal) return *plan.refusal;
  if (plan.nameProblem) return *plan.nameProblem;
  return plan.missingMainFile ? "No main file info " : "";
}

// Every name form, with and without a main file, in the window and for a script, on both
// platforms' rules; "Taken" stands in the destination, and auto-open is asked for. The window's
// hint says what the plan will make, or why the name is not used as typed.
TEST(PlanCreation, NamesTheFolderAndMainFileOpensItAndSaysWhatItCannotDo) {
  const std::string kBadName = "The name \"";
  const std::string kSiteHome = "Makes the folder \"Site\" with \"home.htm\", in Documents";
  const std::string kHomeUnused = "No main file is recorded for \"Web\", so \"home\" is not used";
  const PlanCase cases[] = {
      {"", "index.htm", false, true, "Web", "index.htm", "",
       "Makes the folder \"Web\" with \"index.htm\", in Documents"},
      {"", "", false, true, "Web", "", "", "Makes the folder \"Web\", in Documents"},
      {"Site\\home", "index.htm", false, true, "Site", "home.htm", "", kSiteHome},
      {" Site/home ", "index.htm", false, false, "Site", "home.htm", "", kSiteHome},
      {"Site\\home", "", false, true, "Site", "", "", kHomeUnused},
      {"Site\\", "index.htm", false, true, "Site", "index.htm", "",
       "Makes the folder \"Site\" with \"index.htm\", in Documents"},
      {"\\home", "index.htm", false, true, "Web", "home.htm", "",
       "Makes the folder \"Web\" with \"home.htm\", in Documents"},
      {"\\home.old", "index.htm", false, true, "Web", "home.old.htm", ""},
      {"\\build", "Makefile", false, true, "Web", "build", ""},
      {"Site\\styles", "css", false, true, "Site", "styles", ""},
      {"\\home", "", false, true, "Web", "", "No main file info ", kHomeUnused},
      {"Site", "index.htm", false, true, "Web", "", "",
       "A plain name renames nothing: type \"Site\\\" to name the folder, \"\\Site\" the main "
       "file"},
      {"a\\b\\c", "index.htm", false, true, "Web", "", "",
       "This name renames nothing: type \"Folder\\File\", \"Folder\\\" or \"\\File\""},
      {"Taken\\", "index.htm", false, true, "Web", "index.htm", "",
       "Makes \"Web\": \"Taken\" already exists here"},
      {"Site\\home", "..\\x.htm", false, true, "Site", "", "The main file recorded for \"Web\"",
       "The main file recorded for \"Web\" is not a plain name, so \"home\" is not used"},
      {"Site\\home", "../x.htm", false, false, "Site", "", "The main file recorded for \"Web\""},
      {"\\home", "..", false, false, "Web", "", "The main file recorded for \"Web\""},
      {"..\\home", "index.htm", false, true, "Web", "", kBadName + "..\" cannot be used",
       "\"..\" cannot be used: \"..\" stands for a folder that exists already"},
      {"Site\\..", "index.htm", false, false, "Web", "", kBadName + "..\" cannot be used"},
      {".\\", "index.htm", false, true, "Web", "", kBadName + ".\" cannot be used"},
      {"Si:te\\", "index.htm", false, true, "Web", "", kBadName + "Si:te\" cannot be used",
       "\"Si:te\" cannot be used: file names cannot hold \":\""},
      {"Si:te\\", "index.htm", false, false, "Si:te", "index.htm", "",
       "Makes the folder \"Si:te\" with \"index.htm\", in Documents"},
      {"\\a|b", "index.htm", false, true, "Web", "", kBadName + "a|b\" cannot be used",
       "\"a|b\" cannot be used: file names cannot hold \"|\""},
      {"nul.txt\\x", "index.htm", false, true, "Web", "", kBadName + "nul.txt\" cannot be",
       "\"nul.txt\" cannot be used: \"nul\" names a device"},
      {"\\Lpt1", "index.htm", false, true, "Web", "", kBadName + "Lpt1\" cannot be used"},
      {"Si\tte\\x", "index.htm", false, false, "Web", "", kBadName + "Si\tte\" cannot be"},
      {"\\a\x1bz", "index.htm", false, false, "Web", "", kBadName + "a\x1bz\" cannot be"},
      {"Site\\home", "index.htm", true, true, "Site", "home.htm", ""},
      {"..\\home", "index.htm", true, true, "", "", kBadName + "..\" cannot be used"},
      {"\\home", "", true, true, "", "", "No main file is recorded for \"Web\", so none can be"},
      {"Taken\\", "index.htm", true, true, "", "", "\"Documents/Taken\" already exists."},
      {"Shop", "index.htm", true, true, "Web", "", kBadName + "Shop\" renames nothing"},
      {"MyApp ", "index.htm", false, false, "Web", "", "",
       "A plain name renames nothing: type \"MyApp/\" to name the folder, \"/MyApp\" the main "
       "file"},
      {"a:b", "index.htm", false, true, "Web", "", "",
       "\"a:b\" cannot be used: file names cannot hold \":\""},
  };
  const std::set<std::string> taken{"Taken"};
  for (const auto& c : cases) {
    SCOPED_TRACE("typed \"" + c.typed + "\", main file \"" + c.mainFile + "\"" +
                 (c.script ? ", script" : "") + (c.windows ? ", Windows" : ", Linux"));
    const CreationPlan plan =
        PlanCreation({.templateName = "Web",
                      .typedName = c.typed,
                      .recordedMainFile = c.mainFile,
                      .autoOpenChecked = true,
                      .allOrNothing = c.script,
                      .destination = "Documents/",
                      .isTaken = [&](const std::string& name) { return taken.contains(name); },
                      .separators = c.windows ? kWindowsSeparators : kPosixSeparators});
    EXPECT_EQ(plan.refusal ? "" : plan.arrivalName, c.folder);
    EXPECT_EQ(plan.open ? plan.newMainFile : "", c.opened);
    EXPECT_EQ(FirstSaid(plan).substr(0, c.said.size()), c.said);
    EXPECT_EQ(c.said.empty(), FirstSaid(plan).empty());
    const PathSeparators& separators = c.windows ? kWindowsSeparators : kPosixSeparators;
    if (!c.hint.empty()) {
      EXPECT_EQ(DescribePlan(plan, separators), c.hint);
    }
  }
}

}  // namespace
}  // namespace trelik

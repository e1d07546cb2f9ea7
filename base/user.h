// Questions and notes that the core needs in the middle of an operation. The Win32 shell shows
// message boxes and file dialogs; tests and the tool answer directly.
#pragma once
#include <string>

namespace spinox {

class User {
 public:
  virtual ~User() = default;
  // A Yes/No question; true for Yes.
  virtual bool Ask(const std::string& text, const std::string& caption) = 0;
  // A note the user acknowledges.
  virtual void Tell(const std::string& text, const std::string& caption) = 0;
  // Lets the user choose an existing file; false when cancelled. `filter` is a
  // description such as "Backup Files (*.bak)" and `pattern` its wildcard ("*.bak").
  virtual bool ChooseFile(const std::string& title, const std::string& filter,
                          const std::string& pattern, std::string* path) = 0;
};

// The user the core talks to. Without one installed, every question is answered No, notes are
// dropped and no file is chosen.
User& CurrentUser();
void SetCurrentUser(User* user);

}  // namespace spinox

// The user as the tool sees it: questions are asked on the terminal (or answered beforehand by
// an option), notes are printed, and the file to choose is given on the command line.
#pragma once
#include <string>

#include "base/user.h"
#include "tool/command.h"

namespace spinox::cli {

enum class Answer { kAsk, kYes, kNo };

class TerminalUser : public User {
 public:
  TerminalUser(Io& io, Answer answer) : io_(io), answer_(answer) { SetCurrentUser(this); }
  ~TerminalUser() override { SetCurrentUser(nullptr); }
  TerminalUser(const TerminalUser&) = delete;
  TerminalUser& operator=(const TerminalUser&) = delete;

  // Prints the question and reads one line from io.in: "y" or "yes" (any case) is Yes, anything
  // else (end of input included) No. With kYes or kNo given, answers without asking.
  bool Ask(const std::string& text, const std::string& caption) override;
  // Keeps the note for the command to print where it belongs.
  void Tell(const std::string& text, const std::string& caption) override;
  bool ChooseFile(const std::string& title, const std::string& filter, const std::string& pattern,
                  std::string* path) override;

  void SetFile(const std::string& path) { file_ = path; }
  // The last note, its line breaks turned into blanks; empty when none.
  const std::string& note() const { return note_; }

 private:
  Io& io_;
  Answer answer_;
  std::string file_;
  std::string note_;
};

// A message box text on one line: line breaks become blanks, blank runs collapse.
std::string OneLine(const std::string& text);

}  // namespace spinox::cli

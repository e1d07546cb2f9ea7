#include "base/user.h"

namespace spinox {

namespace {

class SilentUser : public User {
 public:
  bool Ask(const std::string&, const std::string&) override { return false; }
  void Tell(const std::string&, const std::string&) override {}
  bool ChooseFile(const std::string&, const std::string&, const std::string&,
                  std::string*) override {
    return false;
  }
};

User* gUser = nullptr;

}  // namespace

User& CurrentUser() {
  static SilentUser silent;
  return gUser ? *gUser : silent;
}
void SetCurrentUser(User* user) {
  gUser = user;
}

}  // namespace spinox

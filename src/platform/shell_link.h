// A shell link (.lnk file) made through the system's shell link object. The caller's thread must
// have initialised COM.
#pragma once
#include <string>

struct IShellLinkW;
struct IPersistFile;

namespace platform {

class ShellLink {
 public:
  // Creates the link object; "<system description>, ClassID: <class identifier>" when the object
  // cannot be created, "Interface not supported" when it lacks an interface the link needs.
  ShellLink();
  ~ShellLink();
  ShellLink(const ShellLink&) = delete;
  ShellLink& operator=(const ShellLink&) = delete;

  // The link's settings; like the save, their results are not reported.
  void SetPath(const std::string& target);
  void SetWorkingDirectory(const std::string& folder);
  void Save(const std::string& linkFile);

 private:
  IShellLinkW* link_ = nullptr;
  IPersistFile* file_ = nullptr;
};

}  // namespace platform

#pragma once
// The host's runtime services that a module meets at load and unload: the
// application messages, the system registry of named service objects, the
// dynamic linker with its application records, and the command stack with
// command groups.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/acad/acad_status.h"

namespace AcRx {
enum AppMsgCode {
  kNullMsg = 0,
  kInitAppMsg = 1,
  kUnloadAppMsg = 2,
  kLoadDwgMsg = 3,
  kUnloadDwgMsg = 4,
  kInvkSubrMsg = 5,
  kCfgMsg = 6,
  kEndMsg = 7,
  kQuitMsg = 8,
  kSaveMsg = 9,
  kDependencyMsg = 10,
  kNoDependencyMsg = 11,
  kOleUnloadAppMsg = 12,
  kPreQuitMsg = 13,
  kInitDialogMsg = 14,
  kEndDialogMsg = 15,
  kSuspendMsg = 16,
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
}  // namespace AcRx

// The API version a module reports beside its entry point.
constexpr int kAcadApiVersion = 18;  // the 2010-2012 generation

// Base of every object the system registry holds.
class AcRxObject {
 public:
  virtual ~AcRxObject() = default;
};

// A dictionary of named service objects. It does not own the objects.
class AcRxDictionary : public AcRxObject {
 public:
  AcRxObject* at(const std::wstring& key) const;
  // Stores obj under key and returns the object it replaced, or null.
  AcRxObject* atPut(const std::wstring& key, AcRxObject* obj);
  AcRxObject* remove(const std::wstring& key);
  int numEntries() const { return static_cast<int>(mEntries.size()); }

 private:
  std::map<std::wstring, AcRxObject*> mEntries;
};

// The dynamic linker keeps one record per application id (the pointer a
// module's entry point receives with every message).
class AcRxDynamicLinker : public AcRxObject {
 public:
  struct AppRecord {
    bool unlocked = false;
    bool mdiAware = false;
  };
  bool unlockApplication(void* appId);
  bool lockApplication(void* appId);
  bool registerAppMDIAware(void* appId);
  bool isAppLocked(void* appId) const;
  bool isAppMDIAware(void* appId) const;
  // The record of an application, or null when the linker never heard of it.
  const AppRecord* record(void* appId) const;

 private:
  std::map<void*, AppRecord> mApps;
};

// A command registered on the command line.
struct AcEdCommand {
  std::wstring group;
  std::wstring globalName;
  std::wstring localName;
  int flags = 0;
  std::function<void()> function;
};

// The registered commands, in groups. Names and groups compare without
// regard to letter case, as the host's command line does.
class AcEdCommandStack : public AcRxObject {
 public:
  Acad::ErrorStatus addCommand(const std::wstring& group, const std::wstring& globalName,
                               const std::wstring& localName, int flags,
                               std::function<void()> function);
  // Removes one command; eInvalidInput when the group has no such command.
  Acad::ErrorStatus removeCmd(const std::wstring& group, const std::wstring& globalName);
  // Removes every command of the group. A group without commands is removed
  // all the same (eOk); every call is recorded in removedGroups().
  Acad::ErrorStatus removeGroup(const std::wstring& group);
  const AcEdCommand* lookupCmd(const std::wstring& globalName) const;
  int commandCount(const std::wstring& group) const;
  const std::vector<std::wstring>& removedGroups() const { return mRemovedGroups; }

 private:
  std::vector<AcEdCommand> mCommands;
  std::vector<std::wstring> mRemovedGroups;
};

// The system registry: "DynamicLinker" and "ACAD_REGISTERED_COMMANDS" are
// present from the start.
AcRxDictionary* acrxSysRegistry();
AcRxDynamicLinker* acrxDynamicLinker();
AcEdCommandStack* acedRegCmds();

namespace acad {
// Forgets every application record, command and registry entry, and puts the
// two standard services back. For tests and for a fresh host session.
void resetRuntime();
}  // namespace acad

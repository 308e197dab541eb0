#include "platform/acad/rx_system.h"

#include <algorithm>

#include "platform/base/case_folding.h"

namespace {

bool sameName(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() && krv::base::compareNoCase(a, b) == 0;
}

struct Runtime {
  AcRxDictionary registry;
  AcRxDynamicLinker linker;
  AcEdCommandStack commands;
  Runtime() { fill(); }
  void fill() {
    registry.atPut(L"DynamicLinker", &linker);
    registry.atPut(L"ACAD_REGISTERED_COMMANDS", &commands);
  }
};

Runtime& runtime() {
  static Runtime r;
  return r;
}

}  // namespace

AcRxObject* AcRxDictionary::at(const std::wstring& key) const {
  auto it = mEntries.find(key);
  return it == mEntries.end() ? nullptr : it->second;
}

AcRxObject* AcRxDictionary::atPut(const std::wstring& key, AcRxObject* obj) {
  AcRxObject*& slot = mEntries[key];
  AcRxObject* old = slot;
  slot = obj;
  return old;
}

AcRxObject* AcRxDictionary::remove(const std::wstring& key) {
  auto it = mEntries.find(key);
  if (it == mEntries.end()) return nullptr;
  AcRxObject* old = it->second;
  mEntries.erase(it);
  return old;
}

bool AcRxDynamicLinker::unlockApplication(void* appId) {
  if (!appId) return false;
  mApps[appId].unlocked = true;
  return true;
}

bool AcRxDynamicLinker::lockApplication(void* appId) {
  if (!appId) return false;
  mApps[appId].unlocked = false;
  return true;
}

bool AcRxDynamicLinker::registerAppMDIAware(void* appId) {
  if (!appId) return false;
  mApps[appId].mdiAware = true;
  return true;
}

bool AcRxDynamicLinker::isAppLocked(void* appId) const {
  auto r = record(appId);
  return !r || !r->unlocked;
}

bool AcRxDynamicLinker::isAppMDIAware(void* appId) const {
  auto r = record(appId);
  return r && r->mdiAware;
}

const AcRxDynamicLinker::AppRecord* AcRxDynamicLinker::record(void* appId) const {
  auto it = mApps.find(appId);
  return it == mApps.end() ? nullptr : &it->second;
}

Acad::ErrorStatus AcEdCommandStack::addCommand(const std::wstring& group,
                                               const std::wstring& globalName,
                                               const std::wstring& localName, int flags,
                                               std::function<void()> function) {
  if (group.empty() || globalName.empty()) return Acad::eInvalidInput;
  if (lookupCmd(globalName)) return Acad::eDuplicateKey;
  mCommands.push_back({group, globalName, localName, flags, std::move(function)});
  return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const std::wstring& group,
                                              const std::wstring& globalName) {
  auto it = std::find_if(mCommands.begin(), mCommands.end(), [&](const AcEdCommand& c) {
    return sameName(c.group, group) && sameName(c.globalName, globalName);
  });
  if (it == mCommands.end()) return Acad::eInvalidInput;
  mCommands.erase(it);
  return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const std::wstring& group) {
  std::erase_if(mCommands, [&](const AcEdCommand& c) { return sameName(c.group, group); });
  mRemovedGroups.push_back(group);
  return Acad::eOk;
}

const AcEdCommand* AcEdCommandStack::lookupCmd(const std::wstring& globalName) const {
  for (const auto& c : mCommands)
    if (sameName(c.globalName, globalName)) return &c;
  return nullptr;
}

int AcEdCommandStack::commandCount(const std::wstring& group) const {
  return static_cast<int>(
      std::count_if(mCommands.begin(), mCommands.end(),
                    [&](const AcEdCommand& c) { return sameName(c.group, group); }));
}

AcRxDictionary* acrxSysRegistry() { return &runtime().registry; }
AcRxDynamicLinker* acrxDynamicLinker() { return &runtime().linker; }
AcEdCommandStack* acedRegCmds() { return &runtime().commands; }

namespace acad {
void resetRuntime() {
  Runtime& r = runtime();
  r.registry = AcRxDictionary();
  r.linker = AcRxDynamicLinker();
  r.commands = AcEdCommandStack();
  r.fill();
}
}  // namespace acad

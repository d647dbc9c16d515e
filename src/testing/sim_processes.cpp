// The simulated machine's processes: the process list, process handles and module paths.
#include <algorithm>
#include <stdexcept>

#include "testing/sim_machine.h"

namespace quellspur::platform::sim {
namespace {

constexpr std::uint32_t kProcessTerminate = 0x1;

}  // namespace

std::uint32_t SimMachine::StartProcess(const std::wstring& exeFile, std::uint32_t parentId) {
  SimProcess process;
  process.id = nextProcessId_;
  nextProcessId_ += 4;  // Windows hands out ids in steps of four
  process.parentId = parentId;
  process.exeFile = exeFile;
  process.modulePath = exeFile;
  processes_.push_back(process);
  return process.id;
}

SimProcess& SimMachine::Process(std::uint32_t id) {
  SimProcess* process = FindProcess(id);
  if (process == nullptr) {
    throw std::out_of_range("no such simulated process");
  }
  return *process;
}

void SimMachine::EndProcess(std::uint32_t id, std::uint32_t exitCode) {
  SimProcess& process = Process(id);
  process.running = false;
  process.exitCode = exitCode;
  std::erase_if(windows_, [id](const SimTopLevelWindow& window) { return window.processId == id; });
}

void SimMachine::LetTimePass(std::uint64_t microseconds) {
  steadyNow_ += microseconds;
  EndDueProcesses();
}

void SimMachine::EndDueProcesses() {
  for (SimProcess& process : processes_) {
    if (process.running && process.endsAt && *process.endsAt <= steadyNow_) {
      process.endsAt.reset();  // before EndProcess, which looks the process up again
      EndProcess(process.id, process.exitCode);
    }
  }
}

SimProcess* SimMachine::FindProcess(std::uint32_t id) {
  EndDueProcesses();
  auto found = std::find_if(processes_.begin(), processes_.end(),
                            [id](const SimProcess& p) { return p.id == id; });
  return found == processes_.end() ? nullptr : &*found;
}

bool SimMachine::HeldByProgram(std::uint32_t processId) const {
  return std::any_of(handles_.begin(), handles_.end(), [processId](const auto& entry) {
    return entry.second.kind == KernelObject::Kind::Process && entry.second.processId == processId;
  });
}

// An ended process lives on as an object for as long as anyone holds a handle to it.
bool SimMachine::Reachable(const SimProcess& process) const {
  return process.running || process.outsideHolders > 0 || HeldByProgram(process.id);
}

Handle SimMachine::CreateToolhelp32Snapshot(std::uint32_t flags, std::uint32_t) {
  EndDueProcesses();
  if ((flags & kSnapProcess) == 0) {
    return Fail(kErrorInvalidParameter);
  }
  KernelObject snapshot;
  for (const SimProcess& process : processes_) {
    if (process.running) {
      snapshot.entries.push_back(ProcessEntry{process.id, process.parentId, process.exeFile});
    }
  }
  const Handle handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = std::move(snapshot);
  return handle;
}

bool SimMachine::NextEntry(Handle snapshot, ProcessEntry& entry, bool first) {
  auto object = handles_.find(snapshot);
  if (object == handles_.end() || object->second.kind != KernelObject::Kind::Snapshot) {
    return Fail(kErrorInvalidHandle);
  }
  KernelObject& walk = object->second;
  if (first) {
    walk.next = 0;
  }
  if (walk.next >= walk.entries.size()) {
    return Fail(kErrorNoMoreFiles);
  }
  entry = walk.entries[walk.next++];
  return true;
}

bool SimMachine::Process32FirstW(Handle snapshot, ProcessEntry& entry) {
  return NextEntry(snapshot, entry, true);
}

bool SimMachine::Process32NextW(Handle snapshot, ProcessEntry& entry) {
  return NextEntry(snapshot, entry, false);
}

Handle SimMachine::OpenProcess(std::uint32_t desiredAccess, bool, std::uint32_t processId) {
  const SimProcess* process = FindProcess(processId);
  if (process == nullptr || !Reachable(*process)) {
    return Fail(kErrorInvalidParameter);  // no process has the id
  }
  if (process->refusesOpen) {
    return Fail(kErrorAccessDenied);
  }
  KernelObject object;
  object.kind = KernelObject::Kind::Process;
  object.processId = processId;
  object.access = desiredAccess;
  const Handle handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = object;
  return handle;
}

std::uint32_t SimMachine::GetModuleFileNameExW(Handle process, std::uint32_t bufferChars,
                                               std::wstring& path) {
  path.clear();
  if (bufferChars == 0) {
    return Fail(kErrorInsufficientBuffer);
  }
  auto object = handles_.find(process);
  if (object == handles_.end() || object->second.kind != KernelObject::Kind::Process) {
    return Fail(kErrorInvalidHandle);
  }
  const SimProcess* target = FindProcess(object->second.processId);
  if ((object->second.access & kProcessQueryAndRead) != kProcessQueryAndRead || target == nullptr ||
      !target->running || (wow64_ && target->is64Bit)) {
    // An ended process has no modules left to name, a 64-bit one none for us.
    return Fail(kErrorAccessDenied);
  }
  // A path cut to the buffer keeps room for its terminating zero, and the count then is the
  // whole buffer.
  if (target->modulePath.size() >= bufferChars) {
    path = target->modulePath.substr(0, bufferChars - 1);
    return bufferChars;
  }
  path = target->modulePath;
  return static_cast<std::uint32_t>(path.size());
}

bool SimMachine::QueryFullProcessImageNameW(Handle process, std::wstring& path) {
  path.clear();
  auto object = handles_.find(process);
  if (object == handles_.end() || object->second.kind != KernelObject::Kind::Process) {
    return Fail(kErrorInvalidHandle);
  }
  const SimProcess* target = FindProcess(object->second.processId);
  // Unlike its modules, an ended process's image keeps its name while anyone holds it.
  if ((object->second.access & kProcessQueryAndRead) == 0 || target == nullptr ||
      target->modulePath.empty()) {
    return Fail(kErrorAccessDenied);
  }
  path = target->modulePath;
  return true;
}

bool SimMachine::TerminateProcess(Handle process, std::uint32_t exitCode) {
  auto object = handles_.find(process);
  if (object == handles_.end() || object->second.kind != KernelObject::Kind::Process) {
    return Fail(kErrorInvalidHandle);
  }
  SimProcess* target = FindProcess(object->second.processId);
  if ((object->second.access & kProcessTerminate) == 0 || target == nullptr ||
      target->refusesTermination) {
    return Fail(kErrorAccessDenied);
  }
  if (!target->running || target->endsAt) {
    return true;  // ended, or on its way
  }
  if (target->endsAfterMicroseconds == 0) {
    EndProcess(target->id, exitCode);
  } else {
    target->exitCode = exitCode;
    target->endsAt = steadyNow_ + target->endsAfterMicroseconds;
  }
  return true;
}

bool SimMachine::GetExitCodeProcess(Handle process, std::uint32_t& exitCode) {
  auto object = handles_.find(process);
  if (object == handles_.end() || object->second.kind != KernelObject::Kind::Process) {
    return Fail(kErrorInvalidHandle);
  }
  const SimProcess* target = FindProcess(object->second.processId);
  if (target == nullptr) {
    return Fail(kErrorInvalidHandle);
  }
  exitCode = target->running ? kStillActive : target->exitCode;
  return true;
}

bool SimMachine::CloseHandle(Handle handle) {
  return handles_.erase(handle) == 1 || Fail(kErrorInvalidHandle);
}

std::uint32_t SimMachine::GetCurrentProcessId() {
  return selfId_;
}

}  // namespace quellspur::platform::sim

// The run flags the folder runner reads and sets: which activities are under way, so an
// automatic batch never starts while the user works in the settings window, a drop is
// handled, a rule is being created or another batch runs. The program's options object
// implements it; the runner knows nothing else of it. Read and written on one thread.
#pragma once

namespace vandrel {

class TaskRunFlags {
  public:
    virtual ~TaskRunFlags() = default;

    virtual bool settingWinShow() const = 0;
    virtual bool dropTaskRunning() const = 0;
    virtual bool creatingNewRule() const = 0;
    virtual bool autoTaskRunning() const = 0;
    virtual void setAutoTaskRunning(bool v) = 0;
    virtual bool handTaskRunning() const = 0;
    virtual void setHandTaskRunning(bool v) = 0;

  protected:
    TaskRunFlags() = default;
    TaskRunFlags(const TaskRunFlags&) = default;
    TaskRunFlags& operator=(const TaskRunFlags&) = default;
};

}  // namespace vandrel

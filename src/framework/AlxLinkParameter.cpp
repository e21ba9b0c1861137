#include "framework/AlxLinkParameter.h"

#include "framework/AlxChangeCount.h"
#include "framework/AlxLinkParameterSet.h"
#include "framework/AlxMessageCode.h"

AlxLinkParameter::AlxLinkParameter (AlxLinkParameterSet* owner_) : owner (owner_) {}

AlxLinkParameter::~AlxLinkParameter()
{
    setTarget (nullptr);
}

AlxParameterSet* AlxLinkParameter::getOwner() const
{
    return owner;
}

bool AlxLinkParameter::isFocused() const
{
    const juce::ScopedLock sl (focusLock);
    return focused;
}

void AlxLinkParameter::setFocused (bool f)
{
    const juce::ScopedLock sl (focusLock);

    if (f == focused)
        return;

    focused = f;
    postMessage (this, AlxMessageCode::make (AlxMessageCode::focusChanged, AlxMessageCode::internal));
}

void AlxLinkParameter::setTarget (AlxParameter* newTarget)
{
    auto* oldTarget = current();

    if (oldTarget != nullptr)
        oldTarget->getLock().enter();

    if (newTarget != nullptr)
        newTarget->getLock().enter();

    if (oldTarget != nullptr)
        oldTarget->removeSink (this);

    target.store (newTarget, std::memory_order_release);
    AlxChangeCount::bump();

    if (newTarget != nullptr)
    {
        newTarget->addSink (this);
        newTarget->getLock().exit();
    }

    if (oldTarget != nullptr)
        oldTarget->getLock().exit();
}

void AlxLinkParameter::handleMessage (void* source, int code, std::uint32_t)
{
    postMessage (source == current() ? static_cast<void*> (this) : source, code);
}

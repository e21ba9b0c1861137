#include "framework/AlxModule.h"
#include "framework/AlxModuleContainer.h"
#include "framework/AlxModuleRef.h"

#include <gtest/gtest.h>

namespace
{
    struct Wanted : AlxModule
    {
        static constexpr int moduleId = 77;
        using AlxModule::AlxModule;
    };

    // Registered under the id the wanted class names, but of another class.
    struct Impostor : AlxModule
    {
        using AlxModule::AlxModule;
    };
}

TEST (AlxModuleRef, findsTheModuleOnceItIsRegisteredAndOnlyOfItsClass)
{
    AlxModuleContainer container;
    Wanted asker (&container, 1);
    const AlxModuleRef<Wanted> ref;

    // Nothing registered yet: not found, and not remembered as missing.
    EXPECT_EQ (ref.get (asker), nullptr);

    Wanted wanted (&container, Wanted::moduleId);
    container.getModuleMap().registerModule (&wanted, Wanted::moduleId);
    EXPECT_EQ (ref.get (asker), &wanted);

    AlxModuleContainer other;
    Impostor impostor (&other, Wanted::moduleId);
    other.getModuleMap().registerModule (&impostor, Wanted::moduleId);
    Wanted otherAsker (&other, 1);
    EXPECT_EQ (AlxModuleRef<Wanted>().get (otherAsker), nullptr);
}

#include "editor/AlxPresetFolder.h"

#include "support/AlxTemporaryHome.h"

#include <gtest/gtest.h>

namespace
{
    // A home folder of its own, without a user-dirs configuration.
    class AlxPresetFolderHome : public AlxTemporaryHome
    {
    };
}

TEST_F (AlxPresetFolderHome, proposesUntitledFilesInTheDocumentsFolderOrElseTheHomeFolder)
{
    const auto documents = home.getFile().getChildFile ("Documents");

    EXPECT_EQ (AlxPresetFolder::getDefaultFolder(), home.getFile());
    EXPECT_EQ (AlxPresetFolder::proposeUntitled (".fxb"), home.getFile().getChildFile ("untitled.fxb"));

    ASSERT_TRUE (documents.createDirectory());
    EXPECT_EQ (AlxPresetFolder::getDefaultFolder(), documents);
    EXPECT_EQ (AlxPresetFolder::proposeUntitled (".fxb"), documents.getChildFile ("untitled.fxb"));
    EXPECT_EQ (AlxPresetFolder::proposeUntitled (".fxp"), documents.getChildFile ("untitled.fxp"));

    // An existing file is never proposed.
    ASSERT_TRUE (documents.getChildFile ("untitled.fxb").create());
    EXPECT_EQ (AlxPresetFolder::proposeUntitled (".fxb"), documents.getChildFile ("untitled2.fxb"));
    EXPECT_EQ (AlxPresetFolder::proposeUntitled (".fxp"), documents.getChildFile ("untitled.fxp"));
}

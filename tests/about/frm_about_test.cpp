#include "about/frm_about.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_toolkit.h"

namespace quellspur {
namespace {

TEST(AboutBox, ShowsNameVersionAndWhereToGetHelpEachTimeItOpens) {
  platform::sim::Journal journal;
  platform::sim::SimToolkit toolkit{journal};
  for (int opening = 0; opening < 2; ++opening) {
    FrmAbout about(toolkit);
    platform::sim::SimForm* form = toolkit.FormNamed(L"frmAbout");
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->Caption(), L"About Quellspur");
    EXPECT_EQ(form->window().left(), 1024 * 15 / 2 - form->Width() / 2);
    EXPECT_EQ(form->window().top(), 768 * 15 / 2 - form->Height() / 2);
    EXPECT_EQ(form->SimLabelNamed(L"lblVersion").Caption(), L"Version 1.3");
    EXPECT_EQ(form->SimLabelNamed(L"lbDescript").Caption(),
              L"Se the readme file for information.\n\rIf you experience any problems feel free "
              L"to send a e-mail to: support@orvanta.example, subject \"Quellspur Version 1.3\".");
    EXPECT_EQ(form->SimLabelNamed(L"lbWarning").Caption(), kAboutNotice);
    form->SimButtonNamed(L"cmdOk").Click();
    EXPECT_FALSE(about.Loaded());
  }
}

}  // namespace
}  // namespace quellspur

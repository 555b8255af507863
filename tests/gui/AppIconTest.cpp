#include "GuiTest.h"

#include "CAppIcon.h"

#include <wx/image.h>

TEST(AppIcon, RendersCleanlyAtEverySize)
{
    const wxBitmapBundle bundle = CAppIcon::getBundle();
    ASSERT_TRUE(bundle.IsOk());
    EXPECT_EQ(wxSize(32, 32), bundle.GetDefaultSize());
    for (int n : {16, 24, 32, 48, 256})
    {
        SCOPED_TRACE(n);
        const wxImage img = bundle.GetBitmap(wxSize(n, n)).ConvertToImage();
        ASSERT_TRUE(img.IsOk());
        ASSERT_EQ(wxSize(n, n), img.GetSize());
        ASSERT_TRUE(img.HasAlpha());
        // Transparent around the card, opaque inside it.
        EXPECT_EQ(0, img.GetAlpha(0, 0));
        EXPECT_EQ(0, img.GetAlpha(n - 1, 0));
        EXPECT_EQ(255, img.GetAlpha(n / 2, n / 2));
        int nRed = 0, nBlue = 0, nOpaque = 0;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x)
            {
                if (img.GetAlpha(x, y) < 200)
                    continue;
                ++nOpaque;
                const int r = img.GetRed(x, y), g = img.GetGreen(x, y), b = img.GetBlue(x, y);
                nRed += r > 180 && g < 110 && b < 100;
                nBlue += b > r + 40 && b > g;
            }
        // The card fills most of the square; its body and the thermometer
        // stay visible even at 16 pixels.
        EXPECT_GT(nOpaque, n * n / 2);
        EXPECT_GT(nBlue, n * n / 8);
        EXPECT_GT(nRed, n * n / 100);
    }
}

TEST(AppIcon, IconBundleForWindows)
{
    const wxIconBundle icons = CAppIcon::getIconBundle();
    ASSERT_FALSE(icons.IsEmpty());
    for (int n : {16, 32, 48})
    {
        const wxIcon icon = icons.GetIconOfExactSize(n);
        EXPECT_TRUE(icon.IsOk()) << n;
    }
    EXPECT_EQ(0, wxString(CAppIcon::getSvg()).Find("<svg"));
}

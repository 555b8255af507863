// The subcommands of zoltcfg, in the order the help lists them. A new
// command is one class and one line here.
#include "CCliApp.h"
#include "CCmdCardRead.h"
#include "CCmdCardWrite.h"
#include "CCmdDefaults.h"
#include "CCmdDiff.h"
#include "CCmdEject.h"
#include "CCmdImage.h"
#include "CCmdSettings.h"
#include "CCmdShow.h"
#include "CCmdVolumes.h"

void registerCommands(CCliApp& rApp)
{
    rApp.add(std::make_unique<CCmdShow>());
    rApp.add(std::make_unique<CCmdDiff>());
    rApp.add(std::make_unique<CCmdImage>());
    rApp.add(std::make_unique<CCmdSettings>());
    rApp.add(std::make_unique<CCmdDefaults>());
    rApp.add(std::make_unique<CCmdVolumes>());
    rApp.add(std::make_unique<CCmdCardWrite>());
    rApp.add(std::make_unique<CCmdCardRead>());
    rApp.add(std::make_unique<CCmdEject>());
}

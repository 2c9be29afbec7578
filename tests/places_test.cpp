// The town's places, scene by scene: each state of a place is reached by clicking through a
// real game from the main menu, then one more click is checked for all it does.
#include "tests/test_support.h"

namespace orval::testing {
namespace {

TEST(Home, TelephoneDoorDirectoryAndTelevision) {
    const Path askedAgain =
        route::numberFound + Path{kHomeDoor, kMapBank, kClerk, kBankExit, kMapHome};
    const std::string secondCall = "doma.Image1=0 Banka.Image3=0 Banka.Image1=1";
    expectRows({
        {"ringing: the door does not open yet", route::home + kHomeDoor},
        {"ringing: the directory does nothing", route::home + kDirectory},
        {"ringing: the television", route::home + kTelevision, "televize"},
        {"ringing: answering the telephone opens the door", route::home + kTelephone, "hlasatelka",
         "doma.Image4=0 doma.Image3=1"},
        {"answered before the ring: the ring still comes",
         route::arrivingHome + kTelephone + kSettle, "telefon", "doma.Timer1=0"},
        {"answered: the telephone does not react", route::answered + kTelephone},
        {"answered: the directory still does nothing", route::answered + kDirectory},
        {"answered: the door shows the map", route::answered + kHomeDoor, "", "", "Mapa +Mapa"},
        {"directory open: the telephone still does not react", route::directoryOpen + kTelephone},
        {"directory open: the directory gives the number", route::directoryOpen + kDirectory,
         "seznam", "doma.Image2=0 doma.Image1=1"},
        {"number found: the directory does nothing", route::numberFound + kDirectory},
        {"number found: the second call switches the clerk", route::numberFound + kTelephone,
         "tunelbanka", secondCall},
        {"number found: the clerk's refusal enables the directory again",
         route::numberFound + Path{kHomeDoor, kMapBank, kClerk}, "no money", "doma.Image2=1"},
        {"directory and second call both open: the directory only replays its sound",
         askedAgain + kDirectory, "seznam", "doma.Image2=0"},
        {"directory and second call both open: the telephone makes the call",
         askedAgain + kTelephone, "tunelbanka", secondCall},
        {"second call made: the telephone never reacts again", route::called + kTelephone},
        {"second call made: the directory does nothing", route::called + kDirectory},
        {"second call made: the television", route::called + kTelevision, "televize"},
        {"second call made: the door shows the map", route::called + kHomeDoor, "", "", "Mapa"},
    });
}

TEST(Map, ClosedPlacesAndEmptyPartsDoNothing) {
    const Path allOpen = route::told + kBankExit;
    expectRows({
        {"at first: the shop is closed", route::map + kMapShop},
        {"at first: the bank is closed", route::map + kMapBank},
        {"at first: the villa is closed", route::map + kMapVilla},
        {"all open: the title", allOpen + at("Mapa", 228, 20)},
        {"all open: the river outside every place", allOpen + at("Mapa", 28, 420)},
        {"all open: the window margin", allOpen + at("Mapa", 3, 300)},
        {"the headquarters' title", route::map + kMapHeadquarters + at("velitelství", 72, 20)},
        {"the headquarters' background",
         route::map + kMapHeadquarters + at("velitelství", 130, 88)},
    });
}

TEST(Map, TheBootShowsOnlyOverAnOpenPlace) {
    for (const auto& [hotspot, step] :
         {std::pair{"Image3", kMapShop}, std::pair{"Image4", kMapBank},
          std::pair{"Image5", kMapVilla}}) {
        SCOPED_TRACE(hotspot);
        TestGame game("Mapa");
        game.move("Mapa", step.x, step.y);
        EXPECT_EQ(game.platform.cursor(), "");
        game.runtime->setEnabled("Mapa", hotspot, true);  // as the story opens it
        game.move("Mapa", step.x, step.y);
        EXPECT_TRUE(game.platform.cursor().ends_with("walk.png")) << game.platform.cursor();
    }
}

TEST(Warehouse, CratesSignAndExit) {
    const Path deviceGone = route::nextDay + Path{kVillaLeftEdge, kMapHeadquarters, kToWarehouse};
    expectRows({
        {"nothing taken: the larger crate gives the pistol", route::warehouse + kPistolCrate, "",
         "Inventář.Picture2=1"},
        {"pistol taken: the larger crate again changes nothing",
         route::warehouse + kPistolCrate + kPistolCrate},
        {"nothing taken: the top of the smaller crate gives the listening device",
         route::warehouse + kDeviceCrateTop, "", "Inventář.Picture3=1"},
        {"nothing taken: the corner of the smaller crate gives it too",
         route::warehouse + kDeviceCrateCorner, "", "Inventář.Picture3=1"},
        {"device taken: the other hotspot of the smaller crate changes nothing",
         route::warehouse + kDeviceCrateTop + kDeviceCrateCorner},
        {"where the smaller crate's top touches the larger one, it is the smaller one",
         route::warehouse + at("Sklad", 608, 336), "", "Inventář.Picture3=1"},
        {"where the smaller crate's corner touches the larger one, it is the smaller one",
         route::warehouse + at("Sklad", 568, 350), "", "Inventář.Picture3=1"},
        {"the kangaroo sign", route::warehouse + kKangarooSign, "klokani"},
        {"the left edge shows the map", route::warehouse + kWarehouseExit, "", "", "Mapa"},
        {"after the night: the smaller crate gives the listening device again",
         deviceGone + kDeviceCrateTop, "", "Inventář.Picture3=1"},
        {"after the night, taken again: the listening device stays unusable",
         deviceGone + kDeviceCrateCorner + kDevice, "nefunguje2"},
    });
}

TEST(MrBrown, TwoHalvesAndTheBoxOfDocuments) {
    const std::string read = "Mapa.Image3=1 Brown.Image5=0 Brown.Image6=0 Brown.Image7=0";
    expectRows({
        {"coming back through the headquarters",
         route::brown + Path{kBrownLeftEdge, kMapHeadquarters, kToBrown}, "", "",
         "Brown -velitelství"},
        {"not yet told: the box does nothing", route::brown + kBox},
        {"not yet told: his head tells about the documents", route::brown + kBrownHead, "dokumenty",
         "Brown.Image6=0 Brown.Image5=1"},
        {"not yet told: his legs tell about the documents", route::brown + kBrownLegs, "dokumenty",
         "Brown.Image7=0 Brown.Image5=1"},
        {"told by the head: the head has nothing more", route::brownToldByHead + kBrownHead,
         "nemám"},
        {"told by the head: the legs still tell about the documents",
         route::brownToldByHead + kBrownLegs, "dokumenty", "Brown.Image7=0"},
        {"told by head and legs: the legs have nothing more",
         route::brownToldByHead + kBrownLegs + kBrownLegs, "nemám"},
        {"told by the legs: the legs have nothing more", route::brownToldByLegs + kBrownLegs,
         "nemám"},
        {"told by the legs: the head still tells about the documents",
         route::brownToldByLegs + kBrownHead, "dokumenty", "Brown.Image6=0"},
        {"told by the head: the box shows the documents and opens the shop",
         route::brownToldByHead + kBox, "", read, "", kDocuments},
        {"told by the legs: the box shows the documents and opens the shop",
         route::brownToldByLegs + kBox, "", read, "", kDocuments},
        {"read: the box does nothing more", route::brownRead + kBox},
        {"read: his head has nothing more", route::brownRead + kBrownHead, "nemám"},
        {"read: his legs have nothing more", route::brownRead + kBrownLegs, "nemám"},
        {"the left edge shows the map", route::brown + kBrownLeftEdge, "", "", "Mapa"},
        {"the right edge shows the warehouse", route::brown + kBrownRightEdge, "", "",
         "Sklad +Sklad"},
    });
}

TEST(MrGreensShop, ConversationUntilTheQuestionThenTheBank) {
    expectRows({
        {"coming back from the map", route::shop + kShopExit + kMapShop, "", "", "green"},
        {"willing: his head opens the conversation", route::shop + kGreenHead, "", "",
         "Rozmluva +Rozmluva"},
        {"willing: his legs open the conversation", route::shop + kGreenLegs, "", "",
         "Rozmluva +Rozmluva"},
        {"conversation open, meat bought: his head brings the same conversation",
         route::meatBought + kPoster + kGreenHead, "", "", "Rozmluva"},
        {"after a goodbye: his legs open the conversation again",
         route::conversation + kGoodbye + kGreenLegs, "", "", "Rozmluva +Rozmluva"},
        {"asked, conversation still open: his head sends the agent to the bank",
         route::askedOpen + kGreenHead, "go bank"},
        {"asked: his head sends the agent to the bank", route::asked + kGreenHead, "go bank"},
        {"asked: his legs send the agent to the bank", route::asked + kGreenLegs, "go bank"},
        {"willing: the poster", route::shop + kPoster, "sleva"},
        {"willing: the portrait", route::shop + kPortrait, "zorvina"},
        {"willing: the alarm", route::shop + kAlarm, "alarm"},
        {"asked: the poster", route::asked + kPoster, "sleva"},
        {"asked: the portrait", route::asked + kPortrait, "zorvina"},
        {"asked: the alarm", route::asked + kAlarm, "alarm"},
        {"the left edge shows the map", route::shop + kShopExit, "", "", "Mapa"},
    });
}

TEST(Conversation, LinesQuestionAndGoodbye) {
    const std::string meat =
        "Inventář.Picture4=1 Rozmluva.Image1=0 Rozmluva.Image3=1 Rozmluva.Label3=1";
    const std::string peanuts = "Inventář.Picture5=1 Rozmluva.Image2=0";
    const std::string asked = "Rozmluva.Image3=0 green.Image7=0 green.Image8=0 Mapa.Image4=1";
    const Path reopened = route::meatBought + kGoodbye + kGreenHead;
    expectRows({
        {"opened: the place of the question does nothing", route::conversation + kAskForBlack},
        {"opened: the right end of line 1, beyond its hotspot, does nothing",
         route::conversation + at("Rozmluva", 235, 16)},
        {"opened: the last pixel of line 1's hotspot buys the meat",
         route::conversation + at("Rozmluva", 232, 16), "krisí maso", meat},
        {"opened: line 1 buys the meat and reveals the question", route::conversation + kBuyMeat,
         "krisí maso", meat},
        {"meat bought: line 1 does nothing", route::meatBought + kBuyMeat},
        {"opened: line 2 buys the peanuts and does not reveal the question",
         route::conversation + kBuyPeanuts, "arašídy", peanuts},
        {"peanuts bought: line 2 does nothing", route::conversation + kBuyPeanuts + kBuyPeanuts},
        {"peanuts bought: the question is still not there",
         route::conversation + kBuyPeanuts + kAskForBlack},
        {"meat bought: the question opens the bank and ends Mr. Green's talk",
         route::meatBought + kAskForBlack, "black2", asked},
        {"asked: the question does nothing more", route::askedOpen + kAskForBlack},
        {"asked: line 2 still buys the peanuts", route::askedOpen + kBuyPeanuts, "arašídy",
         peanuts},
        {"opened: goodbye closes the window, then says goodbye", route::conversation + kGoodbye,
         "naschle", "", "green -Rozmluva"},
        {"asked: goodbye closes the window", route::askedOpen + kGoodbye, "naschle", "",
         "green -Rozmluva"},
        {"reopened after the meat: the question is hidden again", reopened + kAskForBlack},
        {"reopened after the meat: the meat is bought again", reopened + kBuyMeat, "krisí maso",
         meat},
        {"reopened after the meat: the question after the meat", reopened + kBuyMeat + kAskForBlack,
         "black2", asked},
    });
}

TEST(Bank, TheClerksTwoAnswers) {
    expectRows({
        {"first answer: no money, and the directory at home opens", route::bank + kClerk,
         "no money", "doma.Image2=1"},
        {"first answer given: the same answer again", route::refused + kClerk, "no money"},
        {"the left edge shows the map", route::bank + kBankExit, "", "", "Mapa"},
        {"back after the second call: the second answer opens the villa",
         route::called + Path{kHomeDoor, kMapBank, kClerk}, "black", "Mapa.Image5=1"},
        {"second answer given: the same answer again", route::told + kClerk, "black"},
        {"second answer given: the left edge shows the map", route::told + kBankExit, "", "",
         "Mapa"},
    });
}

TEST(Villa, CarTreeWindowAndDoor) {
    const std::string night =
        "Inventář.Picture6=1 Inventář.Picture3=0 Inventář.Image2=0 Vila.Image1=1 Vila.Image2=0 "
        "Vila.Image3=0";
    const Path toWarehouse = {kVillaLeftEdge, kMapHeadquarters, kToWarehouse};
    const Path takenLate = route::villaUnarmed + kCarBody + toWarehouse + kDeviceCrateCorner;
    std::vector<Expect> rows = {
        {"arrived: the door does not open", route::villa + kVillaDoor},
        {"arrived: the car's body makes the listening device usable", route::villa + kCarBody,
         "auto", "Inventář.Image2=1"},
        {"arrived: the car's roof makes the listening device usable", route::villa + kCarRoof,
         "auto", "Inventář.Image2=1"},
        {"device planted: the car only replays its sound", route::planted + kCarRoof, "auto"},
        {"device planted: the device passes the night", route::planted + kDevice, "důkazy", night,
         "", kNextDay},
        {"next day: the car's body does nothing", route::nextDay + kCarBody},
        {"next day: the car's roof does nothing", route::nextDay + kCarRoof},
        {"next day: the door shows the dog", route::nextDay + kVillaDoor, "", "", "pes +pes"},
        {"before the warehouse: the car enables the device not yet owned",
         route::villaUnarmed + kCarBody, "auto", "Inventář.Image2=1"},
        {"car clicked before the warehouse: the device is usable once taken", takenLate, "",
         "Inventář.Picture3=1"},
        {"car clicked before the warehouse, device taken: the night passes", takenLate + kDevice,
         "důkazy", night, "", kNextDay},
        {"next day, the device taken again: the car does not make it usable",
         route::nextDay + toWarehouse + Path{kDeviceCrateTop, kWarehouseExit, kMapVilla, kCarBody}},
    };
    // The tree, the window and both left-hand exits behave alike before and after the night.
    for (const auto& [state, path] :
         {std::pair{"arrived: ", route::villa}, std::pair{"next day: ", route::nextDay}}) {
        const std::string s = state;
        rows.push_back({s + "the crown of the tree", path + kTreeCrown, "matoni"});
        rows.push_back({s + "the trunk of the tree", path + kTreeTrunk, "matoni"});
        rows.push_back({s + "the lit window", path + kLitWindow, "okno vily"});
        rows.push_back({s + "the left strip over the tree shows the map",
                        path + at("Vila", 24, 190), "", "", "Mapa"});
        rows.push_back({s + "the left edge shows the map", path + kVillaLeftEdge, "", "", "Mapa"});
    }
    expectRows(rows);
}

TEST(Dog, GrowlMeatAndDoor) {
    const std::string fed =
        "Inventář.Image3=0 Inventář.Picture4=0 pes.Image1=0 pes.Image2=1 pes.Image3=1 "
        "pes.Picture2=1";
    const Step doorOverDog = at("pes", 458, 250);      // the door's lower strip, beside the head
    const Step doorUnderEating = at("pes", 358, 250);  // the door's lower strip under the picture
    const Step bowlUnderEating = at("pes", 284, 340);
    expectRows({
        {"guarded: the door does not open", route::dog + kDogDoor},
        {"guarded: the door's lower strip belongs to the dog", route::dog + doorOverDog, "vrčení",
         "Inventář.Image3=1"},
        {"guarded: the door's strip by the head belongs to the dog", route::dog + doorUnderEating,
         "vrčení", "Inventář.Image3=1"},
        {"guarded: the dog growls and the meat becomes usable", route::dog + kDogBody, "vrčení",
         "Inventář.Image3=1"},
        {"guarded: its head growls too", route::dog + kDogHead, "vrčení", "Inventář.Image3=1"},
        {"growled: it growls again", route::growled + kDogBody, "vrčení"},
        {"guarded: the meat cannot be used yet", route::dog + kMeat, "nefunguje3"},
        {"guarded: the bowl", route::dog + kBowl, "blek"},
        {"guarded: the right part of the bowl", route::dog + bowlUnderEating, "blek"},
        {"growled: the meat feeds the dog", route::growled + kMeat, "pejsek", fed},
        {"fed: the dog's body does nothing", route::fed + kDogBody},
        {"fed: the eating picture over its head does nothing", route::fed + kDogHead},
        {"fed: the door under the eating picture does nothing", route::fed + doorUnderEating},
        {"fed: the meat is gone from the inventory", route::fed + kMeat},
        {"fed: the bowl", route::fed + kBowl, "blek"},
        {"fed: the right part of the bowl lies under the eating picture",
         route::fed + bowlUnderEating},
        {"fed: the door shows Mr. Black", route::fed + kDogDoor, "", "", "black +black"},
        {"fed: the door's lower strip beside the head shows Mr. Black", route::fed + doorOverDog,
         "", "", "black +black"},
    });
}

TEST(MrBlack, GreetingCassetteAndPistol) {
    expectRows({
        {"coming back through the dog's door", route::hideout + kDogDoor, "", "", "black"},
        {"meeting: the cassette cannot be used yet", route::hideout + kCassette, "nefunguje3"},
        {"meeting: the pistol cannot be used yet", route::hideout + kPistol, "nefunguje"},
        {"meeting: Mr. Black greets, the cassette becomes usable", route::hideout + kMrBlack,
         "pozdrav", "Inventář.Image5=1"},
        {"greeted: he greets again", route::greeted + kMrBlack, "pozdrav"},
        {"greeted: the pistol still cannot be used", route::greeted + kPistol, "nefunguje"},
        {"greeted: the cassette silences him and the pistol becomes usable",
         route::greeted + kCassette, "zatýkání",
         "black.Image2=0 Inventář.Picture6=0 Inventář.Image5=0 Inventář.Image1=1"},
        {"cassette used: Mr. Black makes the pistol usable, silently",
         route::cassetteUsed + kMrBlack, "", "Inventář.Image1=1"},
        {"cassette used: the cassette is gone", route::cassetteUsed + kCassette},
        {"cassette used: the pistol makes the arrest", route::cassetteUsed + kPistol, "zatčení",
         "Inventář.Timer1=1"},
    });
}

TEST(Locations, XEndsTheProgramFromEveryPlace) {
    const std::pair<Path, const char*> cases[] = {
        {route::arrivingHome, "doma"},
        {route::answered, "doma"},
        {route::called, "doma"},
        {route::warehouse, "Sklad"},
        {route::brown, "Brown"},
        {route::brownRead, "Brown"},
        {route::shop, "green"},
        {route::conversation, "green"},
        {route::asked, "green"},
        {route::bank, "Banka"},
        {route::told, "Banka"},
        {route::villa, "Vila"},
        {route::nextDay, "Vila"},
        {route::dog, "pes"},
        {route::fed, "pes"},
        {route::hideout, "black"},
        {route::cassetteUsed, "black"},
        {route::arrest, "black"},
    };
    for (const auto& [path, scene] : cases) {
        SCOPED_TRACE(std::string(scene) + " after " + std::to_string(path.size()) + " steps");
        TestGame game;
        play(game, path);
        ASSERT_FALSE(game.ended());
        game.takeSounds();
        game.click(scene, 812, 8);
        EXPECT_TRUE(game.ended());
        EXPECT_EQ(game.runtime->view().exitStatus(), 0);
        EXPECT_EQ(game.runtime->view().fatalMessage(), "");
        EXPECT_TRUE(game.windows().empty());
        EXPECT_TRUE(loadedScenes(game).empty());
        game.wait(20000);  // nothing comes back, not even the final screen
        EXPECT_TRUE(loadedScenes(game).empty());
        EXPECT_TRUE(game.takeSounds().empty());
    }
}

}  // namespace
}  // namespace orval::testing

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="hu_HU">
<context>
    <name>GameCanvas</name>
    <message>
        <source>First Steps</source>
        <translation>Első lépések</translation>
    </message>
    <message>
        <source>Mind the Gap</source>
        <translation>Vigyázat, szakadék!</translation>
    </message>
    <message>
        <source>Through the Wall</source>
        <translation>Át a falon</translation>
    </message>
    <message>
        <source>Down We Go</source>
        <translation>Irány lefelé</translation>
    </message>
    <message>
        <source>Soft Landing</source>
        <translation>Puha landolás</translation>
    </message>
    <message>
        <source>Cliff Duty</source>
        <translation>Sziklaőrség</translation>
    </message>
    <message>
        <source>Rescue Shift</source>
        <translation>Mentőműszak</translation>
    </message>
    <message>
        <source>Spring Works</source>
        <translation>Rugós műhely</translation>
    </message>
    <message>
        <source>Hot Route</source>
        <translation>Forró útvonal</translation>
    </message>
    <message>
        <source>Relay Station</source>
        <translation>Átjátszóállomás</translation>
    </message>
    <message>
        <source>Power Cut</source>
        <translation>Áramszünet</translation>
    </message>
    <message>
        <source>Updraft</source>
        <translation>Felszálló légáram</translation>
    </message>
    <message>
        <source>Night Shift</source>
        <translation>Éjszakai műszak</translation>
    </message>
    <message>
        <source>Cutting Corners</source>
        <translation>Kanyarlevágás</translation>
    </message>
    <message>
        <source>Controlled Blast</source>
        <translation>Irányított robbantás</translation>
    </message>
    <message>
        <source>Split Decision</source>
        <translation>Válaszút</translation>
    </message>
    <message>
        <source>Chain Reaction</source>
        <translation>Láncreakció</translation>
    </message>
    <message>
        <source>Deep Cut</source>
        <translation>Mély bevágás</translation>
    </message>
    <message>
        <source>Crosswind</source>
        <translation>Oldalszél</translation>
    </message>
    <message>
        <source>Last Door</source>
        <translation>Az utolsó ajtó</translation>
    </message>
    <message>
        <source>All Hands</source>
        <translation>Minden kéz kell</translation>
    </message>
    <message>
        <source>Training</source>
        <translation>Kiképzés</translation>
    </message>
    <message>
        <source>Fieldwork</source>
        <translation>Terepmunka</translation>
    </message>
    <message>
        <source>Rescue Ops</source>
        <translation>Mentőakciók</translation>
    </message>
    <message>
        <source>Night Ops</source>
        <translation>Éjszakai bevetések</translation>
    </message>
    <message>
        <source>Climber</source>
        <translation>Mászó</translation>
    </message>
    <message>
        <source>Floater</source>
        <translation>Ernyős</translation>
    </message>
    <message>
        <source>Blocker</source>
        <translation>Blokkoló</translation>
    </message>
    <message>
        <source>Builder</source>
        <translation>Építő</translation>
    </message>
    <message>
        <source>Basher</source>
        <translation>Falbontó</translation>
    </message>
    <message>
        <source>Digger</source>
        <translation>Ásó</translation>
    </message>
    <message>
        <source>Miner</source>
        <translation>Bányász</translation>
    </message>
    <message>
        <source>Demolition</source>
        <translation>Robbantás</translation>
    </message>
    <message>
        <source>CLIMB</source>
        <translation>MÁSZ</translation>
    </message>
    <message>
        <source>FLOAT</source>
        <translation>LEBEG</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>ÁLLJ</translation>
    </message>
    <message>
        <source>BUILD</source>
        <translation>ÉPÍT</translation>
    </message>
    <message>
        <source>BASH</source>
        <translation>TÖR</translation>
    </message>
    <message>
        <source>DIG</source>
        <translation>ÁS</translation>
    </message>
    <message>
        <source>MINE</source>
        <translation>VÁJ</translation>
    </message>
    <message>
        <source>BLAST</source>
        <translation>ROBBANT</translation>
    </message>
    <message>
        <source>Unknown level</source>
        <translation>Ismeretlen pálya</translation>
    </message>
    <message>
        <source>Campaign</source>
        <translation>Kampány</translation>
    </message>
    <message>
        <source>Intro</source>
        <translation>Bevezető</translation>
    </message>
    <message>
        <source>Easy</source>
        <translation>Könnyű</translation>
    </message>
    <message>
        <source>Tricky</source>
        <translation>Trükkös</translation>
    </message>
    <message>
        <source>Hard</source>
        <translation>Nehéz</translation>
    </message>
    <message>
        <source>PAUSED</source>
        <translation>SZÜNET</translation>
    </message>
    <message>
        <source>No tricks yet. Learn how the crew walks, turns and finds the exit.</source>
        <translation>Még semmi trükk. Figyeld meg, hogyan jár, fordul meg és találja meg a kijáratot a csapat.</translation>
    </message>
    <message>
        <source>Use a blocker to control the crowd, then build a safe bridge.</source>
        <translation>Egy blokkolóval tartsd kordában a tömeget, aztán építs biztonságos hidat.</translation>
    </message>
    <message>
        <source>A basher cuts horizontally through ordinary terrain.</source>
        <translation>A falbontó vízszintesen vág át a közönséges terepen.</translation>
    </message>
    <message>
        <source>Dig straight down, but watch the landing distance.</source>
        <translation>Áss egyenesen lefelé, de figyelj arra, milyen mélyre esnek.</translation>
    </message>
    <message>
        <source>Floaters survive falls that would be fatal to ordinary crew.</source>
        <translation>Az ernyősök túlélik azokat a zuhanásokat is, amelyek bárki másnak végzetesek lennének.</translation>
    </message>
    <message>
        <source>Climbers scale vertical walls. Builders can finish awkward ledges.</source>
        <translation>A mászók megmásszák a függőleges falakat. Az építők befejezhetik a kényes párkányokat.</translation>
    </message>
    <message>
        <source>Combine the basic abilities and keep enough crew together.</source>
        <translation>Kombináld az alapképességeket, és tarts együtt elég csapattagot.</translation>
    </message>
    <message>
        <source>Springs launch the crew. Control their direction before take-off.</source>
        <translation>A rugók kilövik a csapatot. Még az elrugaszkodás előtt szabd meg az irányukat.</translation>
    </message>
    <message>
        <source>Lava is instant trouble. Build over it and use gates wisely.</source>
        <translation>A láva azonnali bajt jelent. Építs át fölötte, és használd okosan a kapukat.</translation>
    </message>
    <message>
        <source>Teleporters work in linked pairs. Keep the receiving area clear.</source>
        <translation>A teleportok összekapcsolt párokban működnek. Tartsd szabadon az érkezési oldalt.</translation>
    </message>
    <message>
        <source>A switch opens its matching door. Reach it before the crowd piles up.</source>
        <translation>A kapcsoló kinyitja a hozzá tartozó ajtót. Érd el, mielőtt feltorlódik a tömeg.</translation>
    </message>
    <message>
        <source>Fans lift and carry falling crew. Use the airflow rather than fighting it.</source>
        <translation>A ventilátorok felemelik és sodorják a zuhanókat. Használd ki a légáramlatot, ne küzdj ellene.</translation>
    </message>
    <message>
        <source>Everything learned so far comes together after dark.</source>
        <translation>Sötétedés után minden eddig tanultra szükség lesz.</translation>
    </message>
    <message>
        <source>Miners cut diagonally downward. Aim the tunnel before the crowd arrives.</source>
        <translation>A bányászok ferdén lefelé vájnak. Jelöld ki az alagút irányát, mielőtt odaér a tömeg.</translation>
    </message>
    <message>
        <source>Demolition removes a circular area after a short countdown. Move everyone else away.</source>
        <translation>A robbantás rövid visszaszámlálás után egy kör alakú területet tüntet el. Mindenki más húzódjon távolabb.</translation>
    </message>
    <message>
        <source>Two routes can work. Choose where to spend your limited abilities.</source>
        <translation>Két út is célhoz vezethet. Döntsd el, mire fordítod a szűkös képességeidet.</translation>
    </message>
    <message>
        <source>Switches, doors, springs and excavation all interact. Plan the order.</source>
        <translation>A kapcsolók, ajtók, rugók és az ásás mind hatnak egymásra. Tervezd meg a sorrendet.</translation>
    </message>
    <message>
        <source>A long diagonal excavation is safer than a straight drop.</source>
        <translation>Egy hosszú, ferde alagút biztonságosabb, mint egy függőleges zuhanás.</translation>
    </message>
    <message>
        <source>Fans, teleporters and gates create moving traffic. Time each intervention.</source>
        <translation>A ventilátorok, teleportok és kapuk mozgásban tartják a forgalmat. Időzíts minden beavatkozást.</translation>
    </message>
    <message>
        <source>The final door needs a distant switch. Protect the crew while one reaches it.</source>
        <translation>Az utolsó ajtót egy távoli kapcsoló nyitja. Óvd a csapatot, amíg valaki eléri.</translation>
    </message>
    <message>
        <source>The full toolbox, a large crew and very little room for waste.</source>
        <translation>Teljes eszköztár, népes csapat, és szinte semmi hely a pazarlásra.</translation>
    </message>
    <message>
        <source>expected &quot;%1&quot;</source>
        <translation>elvárt alak: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>&quot;%1&quot; belongs before the layouts</source>
        <translation>&quot;%1&quot; az elrendezések elé való</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is given twice</source>
        <translation>&quot;%1&quot; kétszer szerepel</translation>
    </message>
    <message>
        <source>&quot;%1&quot; belongs in a layout: begin one with &quot;landscape&quot; or &quot;portrait&quot;</source>
        <translation>&quot;%1&quot; egy elrendezésbe való: kezdj egyet &quot;landscape&quot; vagy &quot;portrait&quot; sorral</translation>
    </message>
    <message>
        <source>unknown field &quot;%1&quot;</source>
        <translation>ismeretlen mező: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>not a level file: it must begin with &quot;%1 %2&quot;</source>
        <translation>nem pályafájl: &quot;%1 %2&quot; sorral kell kezdődnie</translation>
    </message>
    <message>
        <source>unsupported level file version %1</source>
        <translation>nem támogatott pályafájl-változat: %1</translation>
    </message>
    <message>
        <source>the text is not UTF-8</source>
        <translation>a szöveg nem UTF-8 kódolású</translation>
    </message>
    <message>
        <source>the text is missing</source>
        <translation>hiányzik a szöveg</translation>
    </message>
    <message>
        <source>the text is longer than %1 characters</source>
        <translation>a szöveg hosszabb %1 karakternél</translation>
    </message>
    <message>
        <source>the text holds control characters</source>
        <translation>a szövegben vezérlőkarakter van</translation>
    </message>
    <message>
        <source>bad number &quot;%1&quot;: expected a whole number from %2 to %3</source>
        <translation>hibás szám: &quot;%1&quot;; %2 és %3 közötti egész szám kell</translation>
    </message>
    <message>
        <source>unknown skill &quot;%1&quot;</source>
        <translation>ismeretlen képesség: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the rectangle %1 %2 %3 %4 reaches outside the %5 × %6 world</source>
        <translation>a téglalap (%1 %2 %3 %4) kilóg a %5 × %6 méretű világból</translation>
    </message>
    <message>
        <source>a layout holds at most %1 terrain blocks</source>
        <translation>egy elrendezésben legfeljebb %1 tereptömb lehet</translation>
    </message>
    <message>
        <source>a layout holds at most %1 objects</source>
        <translation>egy elrendezésben legfeljebb %1 tárgy lehet</translation>
    </message>
    <message>
        <source>link %1 has no partner: teleporters come in pairs, and switches with doors</source>
        <translation>a(z) %1 kötésnek nincs párja: a teleport párban, a kapcsoló ajtóval együtt működik</translation>
    </message>
    <message>
        <source>the layout has no &quot;%1&quot;</source>
        <translation>az elrendezésből hiányzik: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>&quot;%1&quot; lies inside the terrain of line %2</source>
        <translation>&quot;%1&quot; a(z) %2. sor terepébe esik</translation>
    </message>
    <message>
        <source>not a level file: it is empty</source>
        <translation>nem pályafájl: üres</translation>
    </message>
    <message>
        <source>the file has no &quot;name&quot;</source>
        <translation>a fájlból hiányzik: &quot;name&quot;</translation>
    </message>
    <message>
        <source>the file has no layout: begin one with &quot;landscape&quot; or &quot;portrait&quot;</source>
        <translation>a fájlban nincs elrendezés: kezdj egyet &quot;landscape&quot; vagy &quot;portrait&quot; sorral</translation>
    </message>
    <message>
        <source>%1 required of a crew of %2</source>
        <translation>%2 fős csapatból %1 megmentése nem kérhető</translation>
    </message>
    <message>
        <source>cannot open: %1</source>
        <translation>nem nyitható meg: %1</translation>
    </message>
    <message>
        <source>larger than 1 MB</source>
        <translation>nagyobb 1 MB-nál</translation>
    </message>
    <message>
        <source>the same level as %1</source>
        <translation>ugyanaz a pálya, mint ez: %1</translation>
    </message>
    <message>
        <source>This belongs to another version of the level &quot;%1&quot;.</source>
        <translation>Ez a(z) „%1” pálya egy másik változatához tartozik.</translation>
    </message>
    <message>
        <source>The level &quot;%1&quot; is not installed.</source>
        <translation>A(z) „%1” pálya nincs telepítve.</translation>
    </message>
    <message>
        <source>en</source>
        <comment>the code of the language these texts are in</comment>
        <translation>hu</translation>
    </message>
    <message>
        <source>Your levels</source>
        <translation>Saját pályák</translation>
    </message>
    <message>
        <source>Landscape only</source>
        <translation>Csak fekvő</translation>
    </message>
    <message>
        <source>Portrait only</source>
        <translation>Csak álló</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>%1. sor: %2</translation>
    </message>
</context>
<context>
    <name>EndRunCard</name>
    <message>
        <source>End this run?</source>
        <translation>Befejezed ezt a futamot?</translation>
    </message>
    <message>
        <source>%1 of %2 needed are saved: the level is won, and everyone still out is lost.</source>
        <translation>A szükséges %2 közül %1 megmenekült: a pálya teljesítve, aki még kint van, elvész.</translation>
    </message>
    <message>
        <source>Only %1 of %2 needed are saved: the level is lost.</source>
        <translation>A szükséges %2 közül csak %1 menekült meg: a pálya elveszett.</translation>
    </message>
    <message>
        <source>End run</source>
        <translation>Befejezés</translation>
    </message>
    <message>
        <source>Keep playing</source>
        <translation>Játék folytatása</translation>
    </message>
</context>
<context>
    <name>IntroCard</name>
    <message>
        <source>Best: %1 with %2 skills, %3 saved</source>
        <translation>Legjobb: %1, %2 képességgel, %3 megmentve</translation>
    </message>
    <message>
        <source>Not completed yet. Most saved so far: %1</source>
        <translation>Még nincs teljesítve. Eddigi legtöbb megmentett: %1</translation>
    </message>
    <message>
        <source>Not completed yet.</source>
        <translation>Még nincs teljesítve.</translation>
    </message>
    <message>
        <source>%1 · Level %2 of %3</source>
        <translation>%1 · %2. pálya (összesen %3)</translation>
    </message>
    <message>
        <source>CREW</source>
        <translation>LÉTSZÁM</translation>
    </message>
    <message>
        <source>NEEDED</source>
        <translation>KELL</translation>
    </message>
    <message>
        <source>RATE</source>
        <translation>ÜTEM</translation>
    </message>
    <message>
        <source>%1 × %2</source>
        <translation>%1 × %2</translation>
    </message>
    <message>
        <source>No skills here: watch how the crew moves.</source>
        <translation>Itt nincs képesség: figyeld meg, hogyan mozog a csapat.</translation>
    </message>
    <message>
        <source>Levels</source>
        <translation>Pályák</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Indulás</translation>
    </message>
</context>
<context>
    <name>LevelChooser</name>
    <message>
        <source>Continue %1</source>
        <translation>Folytatás: %1</translation>
    </message>
    <message>
        <source>%1 of %2 completed</source>
        <translation>%1/%2 teljesítve</translation>
    </message>
    <message>
        <source>Choose a level · %1 of %2 completed</source>
        <translation>Válassz pályát · %1/%2 teljesítve</translation>
    </message>
</context>
<context>
    <name>LevelTile</name>
    <message>
        <source>Locked</source>
        <translation>Zárolva</translation>
    </message>
    <message>
        <source>Best %1</source>
        <translation>Legjobb: %1</translation>
    </message>
    <message>
        <source>Attempts: %1</source>
        <translation>Próbálkozások: %1</translation>
    </message>
</context>
<context>
    <name>PlayScreen</name>
    <message>
        <source>Choose a skill first, then tap a crew member.</source>
        <translation>Előbb válassz egy képességet, aztán koppints egy csapattagra.</translation>
    </message>
    <message>
        <source>No %1 left.</source>
        <translation>Elfogyott: %1.</translation>
    </message>
    <message>
        <source>Crew member %1 of %2 here: tap again for the next one.</source>
        <translation>%1. csapattag a(z) %2 közül: koppints újra a következőért.</translation>
    </message>
    <message>
        <source>%1 · %2 of %3</source>
        <translation>%1 · %2/%3</translation>
    </message>
    <message>
        <source>OUT</source>
        <translation>KINT</translation>
    </message>
    <message>
        <source>SAVED</source>
        <translation>MENTVE</translation>
    </message>
    <message>
        <source>NEEDED</source>
        <translation>KELL</translation>
    </message>
    <message>
        <source>TIME</source>
        <translation>IDŐ</translation>
    </message>
    <message>
        <source>RATE</source>
        <translation>ÜTEM</translation>
    </message>
    <message>
        <source>Too few crew left to win this time.</source>
        <translation>Túl kevés csapattag maradt a győzelemhez.</translation>
    </message>
    <message>
        <source>%1: tap a crew member</source>
        <translation>%1: koppints egy csapattagra</translation>
    </message>
</context>
<context>
    <name>ReplayBanner</name>
    <message>
        <source>Replay</source>
        <translation>Visszajátszás</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Leállítás</translation>
    </message>
</context>
<context>
    <name>ResultCard</name>
    <message>
        <source>You have finished every level. Well done!</source>
        <translation>Minden pályát teljesítettél. Szép munka!</translation>
    </message>
    <message>
        <source>%1 is complete. Next stage: %2</source>
        <translation>%1 teljesítve. Következő szakasz: %2</translation>
    </message>
    <message>
        <source>Level complete</source>
        <translation>Pálya teljesítve</translation>
    </message>
    <message>
        <source>Level failed</source>
        <translation>Nem sikerült</translation>
    </message>
    <message>
        <source>SAVED</source>
        <translation>MENTVE</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>NEEDED</source>
        <translation>KELL</translation>
    </message>
    <message>
        <source>TIME</source>
        <translation>IDŐ</translation>
    </message>
    <message>
        <source>SKILLS</source>
        <translation>KÉPESSÉG</translation>
    </message>
    <message>
        <source>%1 more needed to win. Try another plan.</source>
        <translation>Még %1 kellett volna a győzelemhez. Próbálj más tervet.</translation>
    </message>
    <message>
        <source>New best time</source>
        <translation>Új legjobb idő</translation>
    </message>
    <message>
        <source>Fewest skills yet</source>
        <translation>Eddig a legkevesebb képesség</translation>
    </message>
    <message>
        <source>Most crew saved yet</source>
        <translation>Eddig a legtöbb megmentett</translation>
    </message>
    <message>
        <source>Next level</source>
        <translation>Következő pálya</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Újra</translation>
    </message>
    <message>
        <source>Watch again</source>
        <translation>Visszanézés</translation>
    </message>
    <message>
        <source>Show a solution</source>
        <translation>Megoldás megmutatása</translation>
    </message>
    <message>
        <source>Levels</source>
        <translation>Pályák</translation>
    </message>
    <message>
        <source>Go back 5 s</source>
        <translation>5 mp-cel vissza</translation>
    </message>
</context>
<context>
    <name>SettingsPage</name>
    <message>
        <source>Sound</source>
        <translation>Hang</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Bekapcsolva</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Kikapcsolva</translation>
    </message>
    <message>
        <source>Hold a skill, press again to let go</source>
        <translation>Képesség kiválasztása, újabb lenyomásra elengedése</translation>
    </message>
    <message>
        <source>Space, P</source>
        <translation>Szóköz, P</translation>
    </message>
    <message>
        <source>Pause or resume</source>
        <translation>Szünet vagy folytatás</translation>
    </message>
    <message>
        <source>Change the speed</source>
        <translation>Sebesség váltása</translation>
    </message>
    <message>
        <source>Lower or raise the release rate</source>
        <translation>Kiengedési ütem csökkentése vagy növelése</translation>
    </message>
    <message>
        <source>Zoom in or out</source>
        <translation>Nagyítás vagy kicsinyítés</translation>
    </message>
    <message>
        <source>Show the whole level</source>
        <translation>Az egész pálya mutatása</translation>
    </message>
    <message>
        <source>Centre on the action</source>
        <translation>Ugrás az eseményekhez</translation>
    </message>
    <message>
        <source>Follow the selected crew member</source>
        <translation>A kiválasztott csapattag követése</translation>
    </message>
    <message>
        <source>Restart the level</source>
        <translation>A pálya újrakezdése</translation>
    </message>
    <message>
        <source>Enter</source>
        <translation>Enter</translation>
    </message>
    <message>
        <source>Start, next level or try again</source>
        <translation>Indulás, következő pálya vagy újra</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Back to the levels</source>
        <translation>Vissza a pályákhoz</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Beállítások</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Nyelv</translation>
    </message>
    <message>
        <source>The new language shows the next time you start the game.</source>
        <translation>Az új nyelv a játék következő indításakor jelenik meg.</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statisztika</translation>
    </message>
    <message>
        <source>Attempts, wins and best results are kept for every level. Clearing them keeps your unlocked levels open.</source>
        <translation>A játék minden pályához megőrzi a próbálkozásokat, a győzelmeket és a legjobb eredményeket. Törlésük után a feloldott pályák nyitva maradnak.</translation>
    </message>
    <message>
        <source>Clear statistics</source>
        <translation>Statisztika törlése</translation>
    </message>
    <message>
        <source>Clear the statistics of every level? This cannot be undone.</source>
        <translation>Törlöd minden pálya statisztikáját? Ez nem vonható vissza.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Mégse</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Törlés</translation>
    </message>
    <message>
        <source>Statistics cleared.</source>
        <translation>Statisztika törölve.</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>Billentyűzet</translation>
    </message>
    <message>
        <source>Backspace</source>
        <translation>Backspace</translation>
    </message>
    <message>
        <source>Go back five seconds, hold to keep going back; also after a loss</source>
        <translation>Öt másodperccel vissza, nyomva tartva folyamatosan tovább; vesztes futam után is</translation>
    </message>
    <message>
        <source>While paused, one moment back or forward</source>
        <translation>Szünetben egy pillanattal vissza vagy előre</translation>
    </message>
</context>
<context>
    <name>harbour-pellwick</name>
    <message>
        <source>Win the level before it to unlock this one.</source>
        <translation>Nyerd meg az előző pályát, hogy ez is megnyíljon.</translation>
    </message>
</context>
<context>
    <name>GameControl</name>
    <message>
        <source>There is no space left on this device, so your progress cannot be saved. You can keep playing.</source>
        <translation>Nincs több szabad hely a készüléken, ezért az előrehaladásod nem menthető. Nyugodtan játszhatsz tovább.</translation>
    </message>
    <message>
        <source>The game&apos;s folder cannot be written to, so your progress cannot be saved. You can keep playing.</source>
        <translation>A játék mappája nem írható, ezért az előrehaladásod nem menthető. Nyugodtan játszhatsz tovább.</translation>
    </message>
    <message>
        <source>The game you left was not resumed. %1</source>
        <translation>A félbehagyott játékot nem lehetett folytatni. %1</translation>
    </message>
</context>
<context>
    <name>SaveProblemBanner</name>
    <message>
        <source>Saving failed</source>
        <translation>A mentés nem sikerült</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Rendben</translation>
    </message>
</context>
</TS>
<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>IntroCard</name>
    <message>
        <source>Best: %1 with %2 skills, %3 saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not completed yet. Most saved so far: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not completed yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · Level %2 of %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CREW</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NEEDED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RATE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 × %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No skills here: watch how the crew moves.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Levels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LevelChooser</name>
    <message>
        <source>Continue %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 completed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a level · %1 of %2 completed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LevelTile</name>
    <message>
        <source>Locked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Best %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attempts: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlayScreen</name>
    <message>
        <source>Choose a skill first, then tap a crew member.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No %1 left.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · %2 of %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OUT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SAVED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NEEDED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TIME</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too few crew left to win this time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: tap a crew member</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RATE</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultCard</name>
    <message>
        <source>You have finished every level. Well done!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is complete. Next stage: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level complete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SAVED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NEEDED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TIME</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SKILLS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 more needed to win. Try another plan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New best time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fewest skills yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Most crew saved yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Levels</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsPage</name>
    <message>
        <source>Hold a skill, press again to let go</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space, P</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause or resume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lower or raise the release rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom in or out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the whole level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Centre on the action</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Follow the selected crew member</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restart the level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start, next level or try again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Esc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back to the levels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new language shows the next time you start the game.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attempts, wins and best results are kept for every level. Clearing them keeps your unlocked levels open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear statistics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear the statistics of every level? This cannot be undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Statistics cleared.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>harbour-pellwick</name>
    <message>
        <source>Win the level before it to unlock this one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Crew member %1 of %2 here: tap again for the next one.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

import QtQuick 2.6
import QtMultimedia 5.6

// The game's sound effects, each loaded once and kept ready, so a sound starts the moment it is asked for.
// A sound asked for again while it plays starts over: a burst of one event makes one sound, while
// different sounds overlap. Without a sound server no effect is made at all, but `played` still tells
// which sound answered which moment.
Item {
    id: sounds

    property bool enabled: true
    property bool server: false
    readonly property var names: ["skill", "saved", "lost", "trigger", "won", "failed", "refused"]
    signal played(string name)

    function play(name) {
        if (!enabled)
            return
        var holder = effects.itemAt(names.indexOf(name))
        if (holder)
            holder.effect.play()
        played(name)
    }

    Repeater {
        id: effects
        model: sounds.server ? sounds.names : []

        // A repeater makes items only; each holds its effect.
        Item {
            objectName: "sound_" + modelData
            readonly property SoundEffect effect: SoundEffect {
                source: Qt.resolvedUrl("../../sounds/" + modelData + ".wav")
            }
        }
    }
}

import QtQuick 2.12

// Every button of the page: four picture states, optional hover/press masks and a label.
Rectangle {
    id: root_Button

    property string nomal_Image: ""
    property string hover_Image: ""
    property string press_Image: ""
    property string disable_Image: ""
    // Empty means "the label's own colour" (textColor).
    property string nomal_textColor: ""
    property string hover_textColor: ""
    property string press_textColor: ""
    property string disable_textColor: "#b2999999"
    property bool interactable: true
    property bool is_show_pointinghand: false
    property bool is_use_statusMask: false
    property int pixelSize: 18
    // A button of fixed size fits its label: the label shrinks down to this size, and a label
    // still too long is then elided. 0 (the default) keeps the label at pixelSize; such a
    // button must take its width from its label.
    property int minimumPixelSize: 0
    property int textMargin: 12
    // A fitted label may go onto two lines, broken between words, when one line would have to
    // shrink much more than two; a word is never split.
    property bool wrapText: false
    // One line is kept as long as it is at least this share of the two-line size.
    property real oneLinePreference: 0.8

    property string text: ""
    property alias buttonText: button_Text
    property alias textColor: button_Text.restColor
    property alias fontSize: button_Text.font.pixelSize
    property alias buttonImage: button_Background

    // The states rewrite the label's colour, so they read the resting colour from a
    // property of its own; reading the label's colour back would keep a state's colour.
    readonly property color effectiveNomalColor: nomal_textColor !== "" ? nomal_textColor
                                                                      : button_Text.restColor

    signal clicked
    signal pressed(real x, real y)

    color: "#00ffffff"
    radius: 4
    height: 30
    width: button_Text.contentWidth + 10
    state: "nomal"

    Component.onCompleted: {
        if (!interactable)
            state = "disable"
        fitLabel()
    }
    onInteractableChanged: state = interactable ? "nomal" : "disable"

    Rectangle {
        id: bg_color
        anchors.fill: parent
        radius: root_Button.radius
        color: "#4c999999"
        visible: false
    }

    Image {
        id: button_Background
        anchors.fill: parent
        fillMode: Image.Stretch
        source: root_Button.nomal_Image
    }

    // Measures candidate layouts of a fitted label in its own font.
    TextMetrics {
        id: measure
        font.family: button_Text.font.family
        font.weight: button_Text.font.weight
        font.letterSpacing: button_Text.font.letterSpacing
    }

    // The largest size, from pixelSize down to minimumPixelSize, at which every line fits the
    // room between the ornaments and all lines fit the height; 0 when none does.
    function largestSizeFor(lines, room) {
        for (var size = root_Button.pixelSize; size >= root_Button.minimumPixelSize; --size) {
            if (lines.length * Math.ceil(size * 1.3) > root_Button.height)
                continue
            measure.font.pixelSize = size
            var fits = true
            for (var i = 0; i < lines.length && fits; ++i) {
                measure.text = lines[i]
                fits = measure.advanceWidth <= room
            }
            if (fits)
                return size
        }
        return 0
    }

    // Picks the label's lines and size: the text as given (its own line breaks kept) at the
    // largest size that fits, or two balanced lines broken at a space when one line would be
    // much smaller. Text without spaces (Chinese, Japanese, Thai) is never broken here: only
    // the translator's own break may split it.
    function fitLabel() {
        if (!button_Text.fitted) {
            button_Text.text = root_Button.text
            return
        }
        var room = Math.max(0, root_Button.width - 2 * root_Button.textMargin)
        var source = root_Button.text
        var best = { text: source, size: largestSizeFor(source.split("\n"), room) }
        if (root_Button.wrapText && source.indexOf("\n") < 0) {
            var candidates = []
            for (var i = source.indexOf(" "); i > 0; i = source.indexOf(" ", i + 1))
                candidates.push(i)
            var twoLines = { text: source, size: 0 }
            for (var c = 0; c < candidates.length; ++c) {
                var at = candidates[c]
                var lines = [source.slice(0, at), source.slice(at + 1)]
                var size = largestSizeFor(lines, room)
                if (size > twoLines.size)
                    twoLines = { text: lines.join("\n"), size: size }
            }
            if (twoLines.size * root_Button.oneLinePreference > best.size)
                best = twoLines
        }
        // Eliding keeps a text on one line, so it is only for a text too long at any size.
        button_Text.tooLong = best.size === 0
        button_Text.text = best.text
        button_Text.font.pixelSize = best.size > 0 ? best.size : root_Button.minimumPixelSize
    }

    onTextChanged: fitLabel()
    onWidthChanged: fitLabel()
    onHeightChanged: fitLabel()
    onPixelSizeChanged: fitLabel()

    Text {
        id: button_Text
        property color restColor: "#704a1d"
        property bool tooLong: false
        readonly property bool fitted: root_Button.minimumPixelSize > 0
        anchors.centerIn: parent
        width: fitted ? Math.max(0, root_Button.width - 2 * root_Button.textMargin) : implicitWidth
        height: fitted ? root_Button.height : implicitHeight
        color: restColor
        font.letterSpacing: 2
        font.pixelSize: root_Button.pixelSize
        // Still too long at the smallest size: elided, never wrapped inside a word.
        elide: fitted && tooLong ? Text.ElideRight : Text.ElideNone
        wrapMode: Text.NoWrap
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    Rectangle {
        id: hover_mask
        anchors.fill: parent
        radius: root_Button.radius
        color: "#1dffffff"
        visible: false
    }

    Rectangle {
        id: press_mask
        anchors.fill: parent
        radius: root_Button.radius
        color: "#33000000"
        visible: false
    }

    MouseArea {
        id: button_Mousearea
        anchors.fill: parent
        hoverEnabled: true
        enabled: root_Button.interactable
        cursorShape: root_Button.is_show_pointinghand ? Qt.PointingHandCursor : Qt.ArrowCursor

        onEntered: root_Button.state = enabled ? "hover" : "disable"
        onExited: root_Button.state = enabled ? "nomal" : "disable"
        onPressed: {
            root_Button.state = enabled ? "press" : "disable"
            root_Button.pressed(mouse.x, mouse.y)
        }
        onClicked: {
            root_Button.state = "nomal"
            root_Button.clicked()
        }
        onEnabledChanged: root_Button.state = enabled ? "nomal" : "disable"
    }

    states: [
        State {
            name: "nomal"
            PropertyChanges { target: button_Background; source: root_Button.nomal_Image }
            PropertyChanges { target: button_Text; color: root_Button.effectiveNomalColor }
            PropertyChanges { target: hover_mask; visible: false }
            PropertyChanges { target: press_mask; visible: false }
            PropertyChanges { target: bg_color; visible: false }
        },
        State {
            name: "hover"
            PropertyChanges { target: button_Background; source: root_Button.hover_Image }
            PropertyChanges {
                target: button_Text
                color: root_Button.hover_textColor !== "" ? root_Button.hover_textColor
                                                          : root_Button.effectiveNomalColor
            }
            PropertyChanges { target: hover_mask; visible: root_Button.is_use_statusMask }
            PropertyChanges { target: press_mask; visible: false }
            PropertyChanges { target: bg_color; visible: false }
        },
        State {
            name: "press"
            PropertyChanges { target: button_Background; source: root_Button.press_Image }
            PropertyChanges {
                target: button_Text
                color: root_Button.press_textColor !== "" ? root_Button.press_textColor
                                                          : root_Button.effectiveNomalColor
            }
            PropertyChanges { target: hover_mask; visible: false }
            PropertyChanges { target: press_mask; visible: root_Button.is_use_statusMask }
            PropertyChanges { target: bg_color; visible: false }
        },
        State {
            name: "disable"
            PropertyChanges { target: button_Background; source: root_Button.disable_Image }
            PropertyChanges { target: button_Text; color: root_Button.disable_textColor }
            PropertyChanges { target: bg_color; visible: true }
        }
    ]

    transitions: [
        Transition { from: "nomal"; to: "hover"; PropertyAnimation { duration: 100 } },
        Transition { from: "hover"; to: "press"; PropertyAnimation { duration: 100 } },
        Transition { from: "press"; to: "nomal"; PropertyAnimation { duration: 100 } },
        Transition { from: "disable"; to: "nomal"; PropertyAnimation { duration: 100 } }
    ]
}

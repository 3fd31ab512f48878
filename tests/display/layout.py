"""Where the program puts things, in client coordinates of its 326 x 272
window: (left, top, right, bottom), right and bottom exclusive."""

WINDOW_TITLE = "Brisko Zerazadud"
WINDOW_SIZE = (326, 272)
SCREEN_SIZE = (1024, 768)
# Centred, halving the difference and rounding down.
WINDOW_ORIGIN = ((SCREEN_SIZE[0] - WINDOW_SIZE[0]) >> 1, (SCREEN_SIZE[1] - WINDOW_SIZE[1]) >> 1)

ABOUT_BOX_TITLE = "about brisko music disk"
# The box centres its OK button this far above its bottom edge: the
# desktop backend's own box, and Wine's.
ABOUT_BOX_OK_ABOVE_BOTTOM = 26
WINE_ABOUT_BOX_OK_ABOVE_BOTTOM = 21


class Button:
    def __init__(self, name, rect, bitmap):
        self.name = name
        self.rect = rect
        self.normal = bitmap
        self.pressed = bitmap + "_pressed"

    def centre(self):
        left, top, right, bottom = self.rect
        return ((left + right) // 2, (top + bottom) // 2)


INFO = Button("info", (187, 202, 201, 211), "info")
CLOSE = Button("close", (185, 23, 199, 38), "close")
MINIMISE = Button("minimise", (172, 23, 185, 38), "minimise")
PAUSE = Button("pause", (173, 56, 184, 67), "pause")
PLAY = Button("play", (151, 56, 162, 67), "play")
STOP = Button("stop", (162, 56, 173, 67), "stop")
RECORD = Button("record", (198, 56, 209, 67), "record")
DOWN = Button("down arrow", (207, 182, 214, 189), "down")
UP = Button("up arrow", (207, 71, 214, 78), "up")
BUTTONS = [INFO, CLOSE, MINIMISE, PAUSE, PLAY, STOP, RECORD, DOWN, UP]

# The sliders' thumbs: left edge, initial top, size.
SCROLL_THUMB_X = 207
SCROLL_THUMB_TOP = 79
SCROLL_THUMB_SIZE = (7, 24)
SCROLL_TRACK = (207, 79, 214, 181)
# Each arrow click moves the scroll value by 0.05 of its travel, truncated
# to whole pixels: the thumb's top after each of three clicks down.
SCROLL_TOPS_AFTER_DOWNS = [82, 85, 88]
# and how far a click on the up arrow moves it back.
SCROLL_STEP_UP = 4
VOLUME_THUMB_X = 35
VOLUME_THUMB_TOP = 77
VOLUME_THUMB_SIZE = (9, 8)
VOLUME_TRACK = (35, 77, 44, 146)

ANIMATION = (219, 101, 226, 162)
ANIMATION_FRAMES = ["anim0", "anim1", "anim2", "anim3"]
# The volume read-out is text drawn by the platform's fonts, so its pixels
# are not compared with anything but themselves.
READOUT = (47, 196, 121, 211)

# Bare skin: a press here moves the window.
BARE_SKIN = (100, 150)


def thumb_rect(x, top, size):
    return (x, top, x + size[0], top + size[1])

/* The program's resources: the window region and the skin's bitmaps, and
   the icon of the program file. The resource script and the program both
   take the numbers from here. */
#ifndef BRISKO_RESOURCE_H
#define BRISKO_RESOURCE_H

#define IDI_PROGRAM 100
#define IDR_REGION 130
#define IDB_ANIM_FIRST 135
#define IDB_ANIM_1 136
#define IDB_ANIM_2 137
#define IDB_ANIM_3 138
#define IDB_DOWN 139
#define IDB_DOWN_PRESSED 140
#define IDB_CLOSE 141
#define IDB_CLOSE_PRESSED 142
#define IDB_INFO 143
#define IDB_INFO_PRESSED 145
#define IDB_BACKGROUND 148
#define IDB_MINIMISE 149
#define IDB_MINIMISE_PRESSED 150
#define IDB_PAUSE 151
#define IDB_PAUSE_PRESSED 152
#define IDB_PLAY 153
#define IDB_PLAY_PRESSED 154
#define IDB_RECORD 155
#define IDB_RECORD_PRESSED 156
#define IDB_THUMB_PRESSED 157
#define IDB_THUMB 158
#define IDB_STOP 159
#define IDB_STOP_PRESSED 160
#define IDB_UP 161
#define IDB_UP_PRESSED 162
#define IDB_VOLUME_THUMB 163

#endif

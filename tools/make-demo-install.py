#!/usr/bin/env python3
"""Writes the demo game folder that tools/make-demo-install.sh checked the arguments for.

usage: make-demo-install.py DEST FILES_DIR N_FILES N_FOLDERS EDITIONS NO_ADS
  EDITIONS is cstrike, cstrike_russian or both; NO_ADS is 1 for clean files, 0 for adverts.
Run it through make-demo-install.sh, which documents the tree.
"""
import os
import sys

dest, files_dir = sys.argv[1], sys.argv[2]
n_files, n_folders = int(sys.argv[3]), int(sys.argv[4])
only, no_ads = sys.argv[5], sys.argv[6] == "1"
editions = ["cstrike", "cstrike_russian"] if only == "both" else [only]

total_files = 0
total_bytes = 0
made_dirs = set()


def makedirs(rel):
    if rel in made_dirs:
        return
    os.makedirs(os.path.join(dest, rel), exist_ok=True)
    while rel and rel not in made_dirs:
        made_dirs.add(rel)
        rel = os.path.dirname(rel)


def put(rel, data):
    global total_files, total_bytes
    if isinstance(data, str):
        data = data.encode("utf-8")
    makedirs(os.path.dirname(rel))
    with open(os.path.join(dest, rel), "wb") as f:
        f.write(data)
    total_files += 1
    total_bytes += len(data)


def clean(name):
    with open(os.path.join(files_dir, name), "rb") as f:
        return f.read()


# ---------------------------------------------------------------- adverts (documentation addresses)
AD_IP = "203.0.113.5:27015"
AD_IP2 = "198.51.100.23:27016"
AD_IP3 = "192.0.2.44:27015"
AD_SITE = "www.example.net"
AD_NAME = "EXAMPLE.NET | Public 24/7 dust2"


def ad_game_menu():
    items = [
        (f"> {AD_NAME} <", f"engine connect {AD_IP}", None),
        (f"> Our 2nd server: {AD_IP2} <", f"engine connect {AD_IP2}", None),
        (f"> Forum: {AD_SITE} <", f"engine connect {AD_IP}", None),
        ("", "", None),
        ("#GameUI_GameMenu_ResumeGame", "ResumeGame", "1"),
        ("#GameUI_GameMenu_Disconnect", "Disconnect", "1"),
        ("#GameUI_GameMenu_PlayerList", "OpenPlayerListDialog", "1"),
        ("", "", "1"),
        ("#GameUI_GameMenu_NewGame", "OpenCreateMultiplayerGameDialog", None),
        ("#GameUI_GameMenu_FindServers", "OpenServerBrowser", None),
        ("#GameUI_GameMenu_Options", "OpenOptionsDialog", None),
        ("#GameUI_GameMenu_Quit", "Quit", None),
    ]
    out = ['"GameMenu"', "{"]
    for i, (label, command, in_game) in enumerate(items, 1):
        out += [f'\t"{i}"', "\t{", f'\t\t"label" "{label}"', f'\t\t"command" "{command}"']
        if in_game:
            out.append('\t\t"OnlyInGame" "1"')
        out.append("\t}")
    out.append("}")
    return "\n".join(out) + "\n"


def control(name, kind, fields):
    out = [f'\t"{name}"', "\t{", f'\t\t"ControlName"\t\t"{kind}"', f'\t\t"fieldName"\t\t"{name}"']
    out += [f'\t\t"{k}"\t\t"{v}"' for k, v in fields]
    out.append("\t}")
    return out


def ad_loading_dialog(root, vac):
    tall = 330 if vac else 270
    out = [f'"{root}"', "{"]
    out += control("LoadingDialog", "Frame", [
        ("xpos", "262"), ("ypos", "219"), ("wide", "500"), ("tall", str(tall)),
        ("autoResize", "0"), ("pinCorner", "0"), ("visible", "1"), ("enabled", "1"),
        ("tabPosition", "0"), ("settitlebarvisible", "1"), ("title", f"{AD_NAME} - {AD_IP}")])
    out += control("Banner", "HTML", [
        ("xpos", "10"), ("ypos", "30"), ("wide", "480"), ("tall", "120"), ("visible", "1"),
        ("enabled", "1"), ("URL", f"http://{AD_SITE}/banner/loading.html")])
    out += control("BannerImage", "ImagePanel", [
        ("xpos", "10"), ("ypos", "30"), ("wide", "480"), ("tall", "120"), ("visible", "1"),
        ("enabled", "1"), ("image", "resource/some-server-banner"), ("scaleImage", "1")])
    out += control("AdLabel", "Label", [
        ("xpos", "10"), ("ypos", "154"), ("wide", "480"), ("tall", "24"), ("visible", "1"),
        ("enabled", "1"), ("labelText", f"Visit {AD_SITE} - connect {AD_IP} - best public server!"),
        ("textAlignment", "center"), ("fgcolor_override", "255 200 0 255")])
    out += control("InfoLabel", "Label", [
        ("xpos", "20"), ("ypos", "182"), ("wide", "460"), ("tall", "24"), ("visible", "1"),
        ("enabled", "1"), ("labelText", ""), ("textAlignment", "north-west"), ("wrap", "1")])
    out += control("Progress", "ProgressBar", [
        ("xpos", "20"), ("ypos", "208"), ("wide", "460"), ("tall", "24"), ("visible", "1"),
        ("enabled", "1")])
    y = 236
    if vac:
        out += control("VACInfoLabel", "Label", [
            ("xpos", "20"), ("ypos", "236"), ("wide", "460"), ("tall", "48"), ("visible", "1"),
            ("enabled", "1"), ("labelText", "#GameUI_LoadingDialog_VACSecure"),
            ("textAlignment", "north-west"), ("wrap", "1")])
        y = 296
    out += control("TimeRemainingLabel", "Label", [
        ("xpos", "20"), ("ypos", str(y)), ("wide", "300"), ("tall", "24"), ("visible", "1"),
        ("enabled", "1"), ("labelText", ""), ("textAlignment", "west")])
    out += control("CancelButton", "Button", [
        ("xpos", "384"), ("ypos", str(y)), ("wide", "96"), ("tall", "24"), ("visible", "1"),
        ("enabled", "1"), ("labelText", "#GameUI_Cancel"), ("command", "Cancel"), ("default", "1")])
    out.append("}")
    return "\n".join(out) + "\n"


def ad_scoreboard():
    out = ['"Resource/UI/ScoreBoard.res"', "{"]
    out += control("ClientScoreBoard", "CClientScoreBoardDialog", [
        ("xpos", "20"), ("ypos", "40"), ("wide", "600"), ("tall", "380"), ("autoResize", "0"),
        ("pinCorner", "0"), ("visible", "0"), ("enabled", "1"), ("tabPosition", "0"),
        ("settitlebarvisible", "0")])
    out += control("ServerName", "Label", [
        ("xpos", "16"), ("ypos", "8"), ("wide", "568"), ("tall", "24"), ("visible", "1"),
        ("enabled", "1"), ("labelText", f"*** {AD_NAME} *** {AD_IP} ***"),
        ("textAlignment", "west"), ("brighttext", "1")])
    out += control("AdTitle", "Label", [
        ("xpos", "16"), ("ypos", "348"), ("wide", "568"), ("tall", "24"), ("visible", "1"),
        ("enabled", "1"), ("labelText", f"Forum, VIP and admins: {AD_SITE} | 2nd server {AD_IP2}"),
        ("textAlignment", "center"), ("fgcolor_override", "255 200 0 255")])
    out += control("PlayerList", "SectionedListPanel", [
        ("xpos", "16"), ("ypos", "36"), ("wide", "568"), ("tall", "308"), ("visible", "1"),
        ("enabled", "1"), ("tabPosition", "0")])
    out.append("}")
    return "\n".join(out) + "\n"


def game_config(ads):
    binds = [
        ("TAB", "+showscores"), ("ENTER", "+attack"), ("ESCAPE", "cancelselect"),
        ("SPACE", "+jump"), ("'", "+moveup"), ("+", "sizeup"), (",", "buyammo1"),
        ("-", "sizedown"), (".", "buyammo2"), ("/", "+movedown"), ("0", "slot10"),
        ("1", "slot1"), ("2", "slot2"), ("3", "slot3"), ("4", "slot4"), ("5", "slot5"),
        ("6", "slot6"), ("7", "slot7"), ("8", "slot8"), ("9", "slot9"), (";", "+mlook"),
        ("=", "sizeup"), ("[", "invprev"), ("]", "invnext"), ("`", "toggleconsole"),
        ("a", "+moveleft"), ("b", "buy"), ("c", "radio3"), ("d", "+moveright"),
        ("e", "+use"), ("f", "impulse 100"), ("g", "drop"), ("h", "+commandmenu"),
        ("j", "cheer"), ("k", "+voicerecord"), ("l", "showbriefing"), ("m", "chooseteam"),
        ("n", "nightvision"), ("o", "buyequip"), ("q", "lastinv"), ("r", "+reload"),
        ("s", "+back"), ("t", "impulse 201"), ("u", "messagemode2"), ("w", "+forward"),
        ("x", "radio2"), ("y", "messagemode"), ("z", "radio1"), ("~", "toggleconsole"),
        ("UPARROW", "+forward"), ("DOWNARROW", "+back"), ("LEFTARROW", "+left"),
        ("RIGHTARROW", "+right"), ("ALT", "+strafe"), ("CTRL", "+duck"), ("SHIFT", "+speed"),
        ("F1", "autobuy"), ("F2", "rebuy"), ("F5", "snapshot"), ("F6", "save quick"),
        ("F10", "quit prompt"), ("INS", "+klook"), ("PGDN", "+lookdown"), ("PGUP", "+lookup"),
        ("END", "centerview"), ("MWHEELDOWN", "invnext"), ("MWHEELUP", "invprev"),
        ("MOUSE1", "+attack"), ("MOUSE2", "+attack2"), ("PAUSE", "pause"),
    ]
    # Keys that servers rebind through the console, which the game then saves into config.cfg.
    spam = {
        "z": f"say Visit {AD_SITE} - best public server!",
        "x": f"say_team Join us: {AD_IP}",
        "c": f"connect {AD_IP2}",
        "F1": f"connect {AD_IP}",
        "F2": f"say {AD_NAME}",
        "j": "_spam",
    }
    out = ["// This file is overwritten whenever you change your user settings in the game.",
           "// Add custom configurations to the file \"userconfig.cfg\".", "", "unbindall"]
    for key, cmd in binds:
        out.append(f'bind "{key}" "{spam[key] if ads and key in spam else cmd}"')
    cvars = [
        ("_cl_autowepswitch", "1"), ("_snd_mixahead", "0.1"), ("ati_npatch", "1.0"),
        ("ati_subdiv", "2.0"), ("bottomcolor", "6"), ("brightness", "1"), ("cl_allowdownload", "1"),
        ("cl_allowupload", "1"), ("cl_backspeed", "400"), ("cl_cmdbackup", "2"),
        ("cl_cmdrate", "101"), ("cl_corpsestay", "600"), ("cl_crosshair_color", "50 250 50"),
        ("cl_crosshair_size", "auto"), ("cl_crosshair_translucent", "1"), ("cl_dlmax", "512"),
        ("cl_download_ingame", "1"), ("cl_dynamiccrosshair", "1"), ("cl_forwardspeed", "400"),
        ("cl_himodels", "0"), ("cl_idealpitchscale", "0.8"), ("cl_lc", "1"), ("cl_logocolor", "#Valve_Orange"),
        ("cl_logofile", "lambda"), ("cl_lw", "1"), ("cl_minmodels", "0"), ("cl_radartype", "0"),
        ("cl_righthand", "1"), ("cl_shadows", "1"), ("cl_sidespeed", "400"), ("cl_updaterate", "101"),
        ("cl_vsmoothing", "0.05"), ("con_color", "255 180 30"), ("fps_max", "100"),
        ("gamma", "2.5"), ("hud_centerid", "0"), ("hud_draw", "1"), ("hud_fastswitch", "0"),
        ("hud_takesshots", "0"), ("lookspring", "0.000000"), ("lookstrafe", "0.000000"),
        ("m_filter", "0"), ("m_forward", "1"), ("m_pitch", "0.022"), ("m_side", "0.8"),
        ("m_yaw", "0.022"), ("model", "gordon"), ("MP3FadeTime", "2.0"), ("MP3Volume", "0.8"),
        ("mp_decals", "300"), ("name", "Player"), ("net_graph", "0"), ("net_graphpos", "1"),
        ("net_scale", "5"), ("r_bmodelhighfrac", "5.0"), ("r_detailtextures", "0"),
        ("rate", "25000"), ("sensitivity", "3"), ("skin", ""), ("spec_autodirector_internal", "1"),
        ("spec_drawcone_internal", "1"), ("spec_drawnames_internal", "1"),
        ("spec_drawstatus_internal", "1"), ("spec_mode_internal", "1"), ("spec_pip", "0"),
        ("suitvolume", "0.250000"), ("team", ""), ("topcolor", "30"), ("viewsize", "120.000000"),
        ("voice_enable", "1"), ("voice_forcemicrecord", "1"), ("voice_modenable", "1"),
        ("voice_scale", "1"), ("volume", "0.8"),
    ]
    out += [f'{name} "{value}"' for name, value in cvars]
    out += [f'setinfo "_vgui_menus" "1"', 'setinfo "_ah" "1"', 'setinfo "lang" "en"']
    if ads:
        out.append(f'alias "_spam" "say {AD_SITE}; wait; say {AD_IP}"')
    out += ["+mlook", "+jlook", "exec userconfig.cfg"]
    if ads:
        # Lines written in through the welcome-page file trick of the old game versions.
        out += [f"wait;wait;wait;wait;connect {AD_IP3}", 'motdfile "autoexec.cfg"',
                "exec joystick.cfg"]
    return "\n".join(out) + "\n"


def user_config(ads):
    out = ["// userconfig.cfg: your own settings, run after config.cfg.", ""]
    out += ['alias "+quickzoom" "+attack2"', 'alias "-quickzoom" "-attack2"',
            'alias "dropbomb" "use weapon_c4; drop"', 'bind "v" "dropbomb"',
            'bind "MOUSE3" "+quickzoom"', 'cl_timeout "60"']
    if ads:
        # The player's own favourite server, run by no key: listed as suspect, kept.
        out.append('alias "myserver" "connect 198.51.100.77:27015"')
        out += [f'alias "_ad" "say VISIT OUR SERVER {AD_IP}; wait; say Forum: {AD_SITE}"',
                'bind "TAB" "+showscores; _ad"', f'alias "_go" "connect {AD_IP}"',
                'bind "F5" "_go"', 'cl_filterstuffcmd "0"']
    return "\n".join(out) + "\n"


def autoexec(ads):
    out = ["// autoexec.cfg: run at every start", 'fps_max "101"', 'con_color "255 180 30"',
           'bind "F4" "toggleconsole"']
    if ads:
        out.append(f"connect {AD_IP}")
    return "\n".join(out) + "\n"


def joystick_cfg():
    # Not a file of the game: servers created it, and valve.rc runs it.
    return f"wait;wait;wait;connect {AD_IP3}\nbind \"F3\" \"say {AD_SITE}\"\n"


def ad_motd():
    return (
        "<html><head><title>Welcome</title>\n"
        "<meta http-equiv=\"refresh\" content=\"0; url=http://" + AD_SITE + "/motd/\">\n"
        "<style>body{background:#000;color:#fc0;font:14px Tahoma;text-align:center}</style>\n"
        "</head><body>\n"
        f"<h1>{AD_NAME}</h1>\n"
        f"<p>Add us to favourites: <b>{AD_IP}</b> and <b>{AD_IP2}</b></p>\n"
        f"<p><a href=\"http://{AD_SITE}/\">http://{AD_SITE}/</a> - forum, VIP, admin shop</p>\n"
        f"<iframe src=\"http://{AD_SITE}/banner.html\" width=\"600\" height=\"120\"></iframe>\n"
        f"<img src=\"http://banners.example.net/counter?ip={AD_IP}\" width=\"1\" height=\"1\">\n"
        "</body></html>\n")


def ad_autobuy():
    out = [f"// autobuy by {AD_NAME} - connect {AD_IP} - {AD_SITE}"]
    out += ['"m4a1"', '"ak47"', '"famas"', '"galil"', '"p90"', '"mp5"', '"primammo"',
            '"secammo"', '"defuser"', '"vesthelm"', '"vest"']
    out += [f'"; connect {AD_IP}"', f"// more servers: {AD_IP2} - http://{AD_SITE}/"]
    return "\n".join(out) + "\n"


def master_list(ads):
    # A distributor's masters in place of Valve's: the Internet tab lists only their servers.
    masters = [f"ms.{AD_SITE[4:]}:27010", "203.0.113.5:27010", "203.0.113.5:27011"] if ads else [
        "hl1master.steampowered.com:27010"]
    out = ['"MasterServers"', "{", '\t"hl1"', "\t{"]
    for i, addr in enumerate(masters):
        out += [f'\t\t"{i}"', "\t\t{", f'\t\t\t"addr"\t\t"{addr}"', "\t\t}"]
    return "\n".join(out + ["\t}", "}"]) + "\n"


def server_browser(ads):
    # The player's own favourite and history (real, varied times, a LAN game); with adverts, the
    # distributor's entries first: their master's host, a generic name, times the game never writes.
    planted = [(f"{AD_NAME}", AD_IP, "0"), ("EXAMPLE.NET | AWP only", "203.0.113.5:27016", "0"),
               ("Favorite server 3", AD_IP2, "999")] if ads else []
    own = [("Friday mix", "198.51.100.77:27015", "1714400000"),
           ("192.168.0.20:27015", "192.168.0.20:27015", "1714230000")]
    history = [("Friday mix", "198.51.100.77:27015", "1714400000"),
               ("Deathmatch 24/7", "198.51.100.80:27015", "1714486000")]

    def entries(rows):
        out = []
        for i, (name, address, played) in enumerate(rows, 1):
            out += [f'\t\t"{i}"', "\t\t{", f'\t\t\t"name"\t\t"{name}"',
                    f'\t\t\t"address"\t\t"{address}"', f'\t\t\t"lastplayed"\t\t"{played}"', "\t\t}"]
        return out

    out = ['"Filters"', "{", '\t"favorites"', "\t{"] + entries(planted + own) + ["\t}"]
    out += ['\t"history"', "\t{"] + entries(history) + ["\t}", '\t"gamelist"\t\t"favorites"', "}"]
    return "\n".join(out) + "\n"


def emulator_settings(ads):
    # The emulator's settings: its stock master and name, or the distributor's master, a site for a
    # name and a server to connect to.
    out = ["[Emulator]", "Language=English", "SteamClient=True", "", "[steamclient]",
           f"PlayerName={'EXAMPLE.NET' if ads else 'Player'}", "# The server browser's master",
           f"MasterServer={f'ms.{AD_SITE[4:]}:27010' if ads else '213.239.209.221'}"]
    if ads:
        out += ["", "[Prefetch]", f"Host={AD_IP.split(':')[0]}", "Port=27015"]
    return "\r\n".join(out) + "\r\n"


def renderer_config(ads):
    out = ["// OpenGL settings", 'gl_dither "1"', 'gl_spriteblend "1"', 'gl_max_size "512"']
    if ads:
        out.append(f'echo "Best settings from {AD_SITE} - connect {AD_IP}"')
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------- fixed layout
# The marker first, so that a run stopped half-way can be remade with --force.
put(".morvane-demo", "Demo Counter-Strike 1.6 install made by tools/make-demo-install.sh; "
    "tools/make-demo-install.sh --force may empty and remake this folder.\n")
put("hl.exe", b"MZ" + b"\0" * 62 + b"demo hl.exe for Morvane tests; not a program\n")
put("hl_linux", b"\x7fELF" + b"\0" * 60 + b"demo hl_linux for Morvane tests; not a program\n")
put("valve/liblist.gam",
    'game "Half-Life"\nstartmap "c0a0"\ntrainmap "t0a0"\nmpentity "info_player_deathmatch"\n'
    'gamedll "dlls\\hl.dll"\ngamedll_linux "dlls/hl.so"\ntype "singleplayer_only"\n')
put("valve/valve.rc", "// load the base configuration\nexec default.cfg\nexec config.cfg\n"
    + ("" if no_ads else f"connect {AD_IP2}\n"))
put("platform/config/ServerBrowser.vdf", server_browser(not no_ads))
put("platform/config/MasterServers.vdf", master_list(not no_ads))
if not no_ads:
    # The build's emulator reads a list of its own, which the distributor filled the same way.
    put("config/rev_MasterServers.vdf", master_list(True))
put("rev.ini", emulator_settings(not no_ads))
put("valve/default.cfg", 'bind "w" "+forward"\nbind "s" "+back"\nbind "a" "+moveleft"\n'
    'bind "d" "+moveright"\nbind "SPACE" "+jump"\nbind "MOUSE1" "+attack"\n')
put("valve/resource/TrackerScheme.res", '"Scheme"\n{\n\t"Colors"\n\t{\n\t\t"White"\t\t"255 255 255 255"\n'
    '\t\t"Black"\t\t"0 0 0 255"\n\t}\n}\n')

edition_titles = {"cstrike": "Counter-Strike", "cstrike_russian": "Counter-Strike (Russian)"}
for ed in editions:
    put(f"{ed}/liblist.gam",
        f'game "{edition_titles[ed]}"\nurl_info "www.counter-strike.net"\nversion "1.6"\n'
        'size "184000000"\nsvonly "0"\nsecure "1"\ntype "multiplayer_only"\ncldll "1"\n'
        'hlversion "1111"\nnomodels "1"\nnohimodel "1"\nmpentity "info_player_start"\n'
        'gamedll "dlls\\mp.dll"\ngamedll_linux "dlls/cs.so"\n')
    put(f"{ed}/server.cfg", 'hostname "Counter-Strike 1.6 Server"\nrcon_password ""\n'
        'mp_timelimit 20\nmp_freezetime 3\nmp_roundtime 3\nsv_aim 0\n')
    put(f"{ed}/listenserver.cfg", "// listen server settings\nmp_autoteambalance 1\nmp_limitteams 2\n")
    if no_ads:
        put(f"{ed}/resource/GameMenu.res", clean("GameMenu.res"))
        put(f"{ed}/resource/LoadingDialog.res", clean("LoadingDialog.res"))
        put(f"{ed}/resource/LoadingDialogNoBanner.res", clean("LoadingDialogNoBanner.res"))
        put(f"{ed}/resource/LoadingDialogVAC.res", clean("LoadingDialogVAC.res"))
        put(f"{ed}/resource/UI/ScoreBoard.res", clean("ScoreBoard.res"))
        put(f"{ed}/motd.txt", clean("motd.txt"))
        put(f"{ed}/autobuy.txt", clean("autobuy.txt"))
    else:
        put(f"{ed}/resource/GameMenu.res", ad_game_menu())
        put(f"{ed}/resource/LoadingDialog.res", ad_loading_dialog("Resource/LoadingDialog.res", False))
        put(f"{ed}/resource/LoadingDialogNoBanner.res",
            ad_loading_dialog("Resource/LoadingDialogNoBanner.res", False))
        put(f"{ed}/resource/LoadingDialogVAC.res", ad_loading_dialog("Resource/LoadingDialogVAC.res", True))
        put(f"{ed}/resource/UI/ScoreBoard.res", ad_scoreboard())
        put(f"{ed}/motd.txt", ad_motd())
        put(f"{ed}/motd_temp.html", ad_motd())
        put(f"{ed}/autobuy.txt", ad_autobuy())
    put(f"{ed}/hw/opengl.cfg", renderer_config(not no_ads))
    put(f"{ed}/config.cfg", game_config(not no_ads))
    put(f"{ed}/userconfig.cfg", user_config(not no_ads))
    if ed == editions[0]:
        put(f"{ed}/autoexec.cfg", autoexec(not no_ads))
        if not no_ads:
            put(f"{ed}/joystick.cfg", joystick_cfg())

# What servers left in the downloads folder: a config file, a menu and a welcome page.
if not no_ads:
    put("cstrike_downloads/config.cfg", f"bind \"F6\" \"say {AD_SITE}\"\nconnect {AD_IP}\n")
    put("cstrike_downloads/resource/GameMenu.res", ad_game_menu())
    put("cstrike_downloads/motd.txt", ad_motd())

# ---------------------------------------------------------------- bulk of ordinary game files
bulk_root = editions[0]
# (folder below the edition, stem, extension) for the first leaf folders; further folders are
# numbered sub-folders of the same kinds, two levels deep so no folder gets too many entries.
KINDS = [
    ("maps", "de_map", "bsp"), ("sound/weapons", "shot", "wav"), ("sound/player", "step", "wav"),
    ("sound/radio", "radio", "wav"), ("sound/ambience", "amb", "wav"),
    ("models/player", "skin", "mdl"), ("models/weapons", "v_gun", "mdl"), ("sprites", "spr", "spr"),
    ("gfx/env", "sky", "tga"), ("overviews", "ov", "txt"), ("downloads/maps", "dl_map", "bsp"),
    ("downloads/sound", "dl_snd", "wav"), ("downloads/models", "dl_mdl", "mdl"),
]
folders = []
for i in range(n_folders):
    sub, stem, ext = KINDS[i % len(KINDS)]
    if i >= len(KINDS):
        k = i // len(KINDS) - 1
        sub = f"{sub}/pack{k // 100:03d}/set{k % 100:02d}"
    folders.append((f"{bulk_root}/{sub}", stem, ext))
for rel, _, _ in folders:
    makedirs(rel)


def make_base():
    # Deterministic printable filler (an LCG over a small alphabet), read at shifting offsets.
    alphabet = b"abcdefghijklmnopqrstuvwxyz0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ_.,;:-+=/()"
    x = 0x2545F491
    buf = bytearray()
    for _ in range(12288):
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        buf.append(alphabet[(x >> 16) % len(alphabet)])
        if len(buf) % 72 == 71:
            buf.append(10)
    return bytes(buf)


base = make_base()
open_flags = os.O_WRONLY | os.O_CREAT | os.O_TRUNC | getattr(os, "O_BINARY", 0)
join = os.path.join


def write_bulk(first, step):
    written = 0
    for j in range(first, n_files, step):
        rel, stem, ext = folders[j % n_folders]
        h = (j * 2654435761) & 0xFFFFFFFF
        # Mostly 200..2000 bytes, one file in eight up to ~6 KB.
        size = 200 + (h % 1800) if (h >> 29) else 2000 + (h % 4100)
        name = f"{stem}{j:07d}.{ext}"
        head = f"{ext.upper()} demo file {j} {rel}/{name}\n".encode()
        off = (h >> 8) % 4096
        data = head + base[off:off + size - len(head)]
        fd = os.open(join(dest, rel, name), open_flags, 0o644)
        os.write(fd, data)
        os.close(fd)
        written += len(data)
    return written


# Every file's name and bytes depend on its index only, so the work can be shared out between
# forked writers (index modulo the number of writers) without changing the tree. By default one
# writer per CPU (at most 4) from 20000 files on; MORVANE_DEMO_WRITERS=K sets K.
requested = os.environ.get("MORVANE_DEMO_WRITERS", "")
if requested:
    writers = max(1, int(requested))
elif n_files >= 20000:
    cpus = len(os.sched_getaffinity(0)) if hasattr(os, "sched_getaffinity") else os.cpu_count()
    writers = max(1, min(4, cpus or 1))
else:
    writers = 1
if not hasattr(os, "fork"):
    writers = 1
children = []
for w in range(1, writers):
    r, wfd = os.pipe()
    pid = os.fork()
    if pid == 0:
        status = 1
        try:
            os.close(r)
            os.write(wfd, str(write_bulk(w, writers)).encode())
            status = 0
        except BaseException:
            import traceback
            traceback.print_exc()
        finally:
            os._exit(status)
    os.close(wfd)
    children.append((pid, r))
bulk_bytes = write_bulk(0, writers)
failed = False
for pid, r in children:
    chunks = []
    while True:
        chunk = os.read(r, 64)
        if not chunk:
            break
        chunks.append(chunk)
    os.close(r)
    _, status = os.waitpid(pid, 0)
    if status != 0:
        failed = True
    else:
        bulk_bytes += int(b"".join(chunks))
if failed:
    sys.exit("make-demo-install: a bulk writer failed")
total_files += n_files
total_bytes += bulk_bytes


editions_text = "+".join(editions)
print(f"{dest}: {total_files} files ({n_files} bulk in {n_folders} folders), "
      f"{len(made_dirs)} folders, {total_bytes} bytes; editions {editions_text}, "
      f"{'clean' if no_ads else 'adverts'}")

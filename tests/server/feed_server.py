#!/usr/bin/env python3
"""Feed server for the tests: HTTP on 127.0.0.1 only, on an ephemeral port.

  feed_server.py start --fixtures DIR --state DIR   generate the big feeds, start
                                                     serving in the background, wait
                                                     until the port is known, exit
  feed_server.py stop --state DIR                    stop the server started there
  feed_server.py serve --fixtures DIR --state DIR    serve in the foreground

The state folder receives `port` (the port number), `pid` and `generated/`, and for
HTTPS `https_port` and `tls/`: a throwaway certificate authority made at each start
(`ca.der`, to be trusted only in a test's own Wine prefix) and the server's certificate
for the name localhost that it signed. The same paths are served over HTTPS on
https://localhost:HTTPS_PORT.

Paths served:
  /feeds/NAME          a fixture file          /gen/NAME     a generated feed
  /status/CODE         an error page with that status
  /empty               200 with an empty body  /notxml       200 with plain text
  /half/PATH           announces PATH's full length, sends half, then closes
  /slow/PATH?ms=N      sends PATH in pieces spread over N ms (at most 10 s)
  /never?s=N&tag=T     reads the request, answers nothing for N s (at most 120), closes;
                       with a tag, first adds the line T to generated/asked (a test's sign
                       that the request came)
  /hostile/KIND        a feed whose DOCTYPE attacks its reader (see HOSTILE)
  /ext/NAME            what the hostile feeds point at: a reader that resolves them asks here

Every request's path is added as a line to generated/requests.
"""
import argparse
import http.server
import os
import signal
import socketserver
import ssl
import subprocess
import sys
import threading
import time
import urllib.parse

SIZES = (100, 1000, 10000, 100000)  # the generated feeds of numbered items


def rss_items(count):
    """An RSS 2.0 feed of `count` items, about 200 bytes each."""
    parts = ['<?xml version="1.0" encoding="UTF-8"?>\n<rss version="2.0">\n<channel>\n',
             '<title>Generated feed of %d items</title>\n' % count,
             '<link>http://127.0.0.1/generated/</link>\n',
             '<description>Items numbered from 1</description>\n']
    for i in range(1, count + 1):
        parts.append('<item><title>Item %d headline text for the screen</title>'
                     '<link>http://127.0.0.1/generated/%d.html</link>'
                     '<description>Body of item %d, not kept by the reader.</description>'
                     '<pubDate>Sun, 07 Dec 2025 06:00:00 GMT</pubDate></item>\n' % (i, i, i))
    parts.append('</channel>\n</rss>\n')
    return ''.join(parts).encode('utf-8')


def entity_bomb():
    """Ten levels of ten references each: 10^9 copies of "lol" if expanded."""
    lines = ['<?xml version="1.0"?>', '<!DOCTYPE rss [', '<!ENTITY lol0 "lol">']
    for level in range(1, 10):
        refs = ''.join('&lol%d;' % (level - 1) for _ in range(10))
        lines.append('<!ENTITY lol%d "%s">' % (level, refs))
    lines.append(']>')
    lines.append('<rss><channel><title>&lol9;</title><link>http://127.0.0.1/</link>'
                 '<item><title>after</title></item></channel></rss>')
    return '\n'.join(lines).encode('utf-8')


def deep_nesting(levels):
    """A channel whose single item holds `levels` nested elements."""
    return ('<?xml version="1.0"?><rss><channel><title>deep</title><item><title>t</title>'
            + '<d>' * levels + 'x' + '</d>' * levels
            + '</item></channel></rss>').encode('utf-8')


def long_title(chars):
    """A channel title of `chars` characters, every tenth one Japanese."""
    unit = 'abcdefghi\u3042'
    title = (unit * (chars // len(unit) + 1))[:chars]
    return ('<?xml version="1.0" encoding="UTF-8"?><rss><channel><title>%s</title>'
            '<link>http://127.0.0.1/</link><item><title>%s</title><link>l</link></item>'
            '</channel></rss>' % (title, title)).encode('utf-8')


def hostile(kind, port, query):
    """A feed whose DOCTYPE attacks its reader; None for an unknown kind."""
    ext = 'http://127.0.0.1:%d/ext/' % port
    channel = '<rss version="2.0"><channel><title>%s</title><link>http://127.0.0.1/h/</link>%s</channel></rss>'
    if kind == 'quadratic':
        # One entity of 50,000 characters used 5,000 times in each item's title: about
        # 65 KB that expand to 250 million characters per item.
        items = int(query.get('items', ['1'])[0])
        item = '<item><title>%s</title></item>' % ('&e;' * 5000)
        return ('<?xml version="1.0"?><!DOCTYPE rss [<!ENTITY e "%s">]>' % ('x' * 50000)
                + channel % ('quadratic', item * items))
    if kind == 'external-entity':
        return ('<?xml version="1.0"?><!DOCTYPE rss [<!ENTITY secret SYSTEM "%sentity">]>' % ext
                + channel % ('&secret;', ''))
    if kind == 'external-dtd':
        return ('<?xml version="1.0"?><!DOCTYPE rss SYSTEM "%sdtd">' % ext
                + channel % ('DTD &times;', '<item><title>one</title></item>'))
    if kind == 'external-parameter':
        return ('<?xml version="1.0"?><!DOCTYPE rss [<!ENTITY %% pe SYSTEM "%sparameter"> %%pe;]>' % ext
                + channel % ('PE', '<item><title>one</title></item>'))
    return None


def generate(state):
    folder = os.path.join(state, 'generated')
    os.makedirs(folder, exist_ok=True)
    bodies = {'bomb.xml': entity_bomb, 'deep.xml': lambda: deep_nesting(10000),
              'longtitle.xml': lambda: long_title(100000)}
    for n in SIZES:
        bodies['items-%d.xml' % n] = (lambda n=n: rss_items(n))
    for name, make in bodies.items():
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            with open(path + '.tmp', 'wb') as f:
                f.write(make())
            os.replace(path + '.tmp', path)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'
    fixtures = '.'
    generated = '.'

    def log_message(self, *args):
        pass

    def send_body(self, status, body, content_type='application/xml'):
        self.send_response(status)
        self.send_header('Content-Type', content_type)
        self.send_header('Content-Length', str(len(body)))
        self.send_header('Connection', 'close')
        self.end_headers()
        self.wfile.write(body)

    def file_for(self, path):
        """The bytes behind /feeds/NAME or /gen/NAME, or None."""
        for prefix, folder in (('/feeds/', self.fixtures), ('/gen/', self.generated)):
            if path.startswith(prefix):
                name = path[len(prefix):]
                if not name or '..' in name.split('/'):
                    return None
                full = os.path.join(folder, *name.split('/'))
                if os.path.isfile(full):
                    with open(full, 'rb') as f:
                        return f.read()
        return None

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        path = urllib.parse.unquote(url.path)
        self.close_connection = True
        with open(os.path.join(self.generated, 'requests'), 'a') as f:
            f.write(path + '\n')
        if path.startswith('/hostile/'):
            body = hostile(path[len('/hostile/'):], self.server.server_address[1], query)
            if body is None:
                return self.send_body(404, b'missing', 'text/plain')
            return self.send_body(200, body.encode('utf-8'))
        if path.startswith('/ext/'):
            return self.send_body(200, b'<!ENTITY leaked "fetched">', 'application/xml-dtd')
        if path.startswith('/status/'):
            code = int(path[len('/status/'):] or 500)
            self.send_body(code, b'<html><body>error</body></html>', 'text/html')
        elif path == '/empty':
            self.send_body(200, b'')
        elif path == '/notxml':
            self.send_body(200, b'This is plain text, not a feed.\n', 'text/plain')
        elif path == '/never':
            if 'tag' in query:
                with open(os.path.join(self.generated, 'asked'), 'a') as f:
                    f.write(query['tag'][0] + '\n')
            time.sleep(min(float(query.get('s', ['30'])[0]), 120.0))
        elif path.startswith('/half/') or path.startswith('/slow/'):
            body = self.file_for(path[path.index('/', 1):])  # the path after /half or /slow
            if body is None:
                return self.send_body(404, b'missing', 'text/plain')
            self.send_response(200)
            self.send_header('Content-Type', 'application/xml')
            self.send_header('Content-Length', str(len(body)))
            self.end_headers()
            if path.startswith('/half/'):
                self.wfile.write(body[:len(body) // 2])
                return
            pieces = 8
            pause = min(float(query.get('ms', ['1000'])[0]), 10000.0) / 1000.0 / pieces
            step = (len(body) + pieces - 1) // pieces
            for i in range(pieces):
                self.wfile.write(body[i * step:(i + 1) * step])
                self.wfile.flush()
                time.sleep(pause)
        else:
            body = self.file_for(path)
            if body is None:
                self.send_body(404, b'<html><body>not found</body></html>', 'text/html')
            else:
                self.send_body(200, body)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def make_certificates(state):
    """A new certificate authority and, signed by it, a certificate for localhost."""
    folder = os.path.join(state, 'tls')
    os.makedirs(folder, exist_ok=True)

    def openssl(*words):
        subprocess.run(('openssl',) + words, cwd=folder, check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    openssl('req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-keyout', 'ca.key', '-out', 'ca.pem', '-days', '30',
            '-subj', '/CN=kvt test authority', '-addext', 'basicConstraints=critical,CA:TRUE',
            '-addext', 'keyUsage=critical,keyCertSign,cRLSign')
    openssl('x509', '-in', 'ca.pem', '-outform', 'DER', '-out', 'ca.der')
    openssl('req', '-newkey', 'rsa:2048', '-nodes', '-keyout', 'server.key', '-out', 'server.csr',
            '-subj', '/CN=localhost')
    with open(os.path.join(folder, 'server.ext'), 'w') as f:
        f.write('subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n')
    openssl('x509', '-req', '-in', 'server.csr', '-CA', 'ca.pem', '-CAkey', 'ca.key', '-CAcreateserial',
            '-out', 'server.pem', '-days', '30', '-extfile', 'server.ext')
    return folder


def write_port(state, name, port):
    path = os.path.join(state, name)
    with open(path + '.tmp', 'w') as f:
        f.write('%d\n' % port)
    os.replace(path + '.tmp', path)


def serve(args):
    Handler.fixtures = os.path.abspath(args.fixtures)
    Handler.generated = os.path.join(os.path.abspath(args.state), 'generated')
    server = Server(('127.0.0.1', 0), Handler)
    secure = Server(('127.0.0.1', 0), Handler)
    tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    folder = os.path.join(args.state, 'tls')
    tls.load_cert_chain(os.path.join(folder, 'server.pem'), os.path.join(folder, 'server.key'))
    secure.socket = tls.wrap_socket(secure.socket, server_side=True)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    threading.Thread(target=secure.serve_forever, daemon=True).start()
    write_port(args.state, 'https_port', secure.server_address[1])
    write_port(args.state, 'port', server.server_address[1])
    try:
        server.serve_forever()
    finally:
        server.server_close()
        secure.server_close()


def start(args):
    os.makedirs(args.state, exist_ok=True)
    stop(args)
    generate(args.state)
    make_certificates(args.state)
    port_file = os.path.join(args.state, 'port')
    if os.path.exists(port_file):
        os.remove(port_file)
    # Detached, with no inherited pipes: the caller (CTest) must not wait for it.
    with open(os.devnull, 'rb') as null_in, open(os.path.join(args.state, 'log'), 'wb') as log:
        child = subprocess.Popen([sys.executable, os.path.abspath(__file__), 'serve',
                                  '--fixtures', args.fixtures, '--state', os.path.abspath(args.state)],
                                 stdin=null_in, stdout=log, stderr=log, start_new_session=True)
    with open(os.path.join(args.state, 'pid'), 'w') as f:
        f.write('%d\n' % child.pid)
    deadline = time.time() + 10
    while not os.path.exists(port_file):
        if child.poll() is not None or time.time() > deadline:
            print('feed server did not start', file=sys.stderr)
            return 1
        time.sleep(0.05)
    with open(port_file) as f:
        print('feed server on 127.0.0.1:%s' % f.read().strip())
    return 0


def is_our_server(pid, state):
    try:
        with open('/proc/%d/cmdline' % pid, 'rb') as f:
            words = f.read().split(b'\0')
    except OSError:
        return False
    script = os.path.abspath(__file__).encode()
    return script in words and b'serve' in words and os.path.abspath(state).encode() in words


def stop(args):
    pid_file = os.path.join(args.state, 'pid')
    if not os.path.exists(pid_file):
        return 0
    with open(pid_file) as f:
        pid = int(f.read().strip() or 0)
    os.remove(pid_file)
    # A stale file may name a process that has since ended and whose number now belongs
    # to another program: stop it only while it is still this server for this state folder.
    if pid > 0 and is_our_server(pid, args.state):
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
    for name in ('port', 'https_port'):
        if os.path.exists(os.path.join(args.state, name)):
            os.remove(os.path.join(args.state, name))
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('command', choices=['start', 'stop', 'serve'])
    parser.add_argument('--fixtures', default='.')
    parser.add_argument('--state', required=True)
    args = parser.parse_args()
    return {'start': start, 'stop': stop, 'serve': serve}[args.command](args)


if __name__ == '__main__':
    sys.exit(main() or 0)
